#include "console/ui/status_panels.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace vantorel::console::ui {

namespace {
enum Panel { CountLabel, Count, PortLabel, Port, Listening, AddressLabel, Address, Date, Time };
}

namespace {

// A notice beside the panels, hidden while it has nothing to say.
QLabel* noticeLabel(QStatusBar& bar, const char* name, const char* style, int stretch)
{
    auto* label = new QLabel(&bar);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(QLatin1String(style));
    label->hide();
    bar.addWidget(label, stretch);
    return label;
}

void showNotice(QLabel& label, const QString& text)
{
    label.setText(text);
    label.setToolTip(text);
    label.setVisible(!text.isEmpty());
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar& bar, Now now) : QObject(&bar), now_(std::move(now))
{
    const char* names[panelCount] = {"countLabel",   "count",   "portLabel", "port", "listening",
                                     "addressLabel", "address", "date",      "time"};
    for (int i = 0; i < panelCount; ++i) {
        auto* label = new QLabel(&bar);
        label->setObjectName(QStringLiteral("statusPanel_") + names[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(48);
        label->setAlignment(Qt::AlignCenter);
        bar.addWidget(label, i == Address ? 2 : 1);
        panels_[i] = label;
    }
    panels_[CountLabel]->setText(QStringLiteral("已打印胶片数"));
    panels_[PortLabel]->setText(QStringLiteral("监听端口"));
    panels_[AddressLabel]->setText(QStringLiteral("IP地址"));
    printerProblem_ = noticeLabel(bar, "statusPanel_printerProblem", "color: red;", 3);
    listenProblem_ = noticeLabel(bar, "statusPanel_listenProblem", "color: red;", 3);
    archiveWaiting_ = noticeLabel(bar, "statusPanel_archiveWaiting", "", 1);
    filmSavingProblem_ = noticeLabel(bar, "statusPanel_filmSavingProblem", "color: #b05000;", 3);
    bar.setSizeGripEnabled(false);

    clock_ = new QTimer(this);
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &StatusPanels::refreshClock);
    clock_->start();
    refreshClock();
}

void StatusPanels::setPrintCount(qint64 count)
{
    panels_[Count]->setText(QString::number(count));
}

void StatusPanels::setListenPort(const QString& port)
{
    panels_[Port]->setText(port);
}

void StatusPanels::setListening(bool ok)
{
    panels_[Listening]->setText(ok ? QStringLiteral("正常") : QStringLiteral("失败"));
}

void StatusPanels::setListeningAfterPortChange(bool ok)
{
    panels_[Listening]->setText(ok ? QStringLiteral("True") : QStringLiteral("False"));
}

void StatusPanels::setLocalAddress(const QString& address)
{
    panels_[Address]->setText(address);
}

void StatusPanels::setPrinterProblem(const QString& problem)
{
    showNotice(*printerProblem_, problem.isEmpty() ? QString() : QStringLiteral("胶片未能打印：") + problem);
}

QString StatusPanels::printerProblemText() const
{
    return printerProblem_->text();
}

void StatusPanels::setListenProblem(const QString& problem)
{
    showNotice(*listenProblem_, problem);
}

void StatusPanels::setArchiveWaiting(qint64 waiting)
{
    showNotice(*archiveWaiting_, waiting > 0 ? QStringLiteral("档案待写入：%1条").arg(waiting) : QString());
}

void StatusPanels::setFilmSavingProblem(const QString& problem)
{
    showNotice(*filmSavingProblem_,
               problem.isEmpty() ? QString() : QStringLiteral("胶片未能保存：") + problem);
}

QString StatusPanels::filmSavingProblemText() const
{
    return filmSavingProblem_->text();
}

QString StatusPanels::archiveWaitingText() const
{
    return archiveWaiting_->text();
}

QString StatusPanels::listenProblemText() const
{
    return listenProblem_->text();
}

QString StatusPanels::text(int panel) const
{
    if (panel < 1 || panel > panelCount)
        return {};
    return panels_[panel - 1]->text();
}

void StatusPanels::refreshClock()
{
    const QDateTime time = now_();
    panels_[Date]->setText(dateText(time));
    panels_[Time]->setText(timeText(time));
}

QString StatusPanels::dateText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy/M/d"));
}

QString StatusPanels::timeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("H:mm:ss"));
}

}  // namespace vantorel::console::ui
