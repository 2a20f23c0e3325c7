#include "console/ui/pages/run_log_page.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantorel::console::ui {

RunLogPage::RunLogPage(const QString& homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
                       QWidget* parent)
    : QWidget(parent), viewer_(homeFolder, clock, messages, [this] { return ask_ ? ask_() : askFileName(); })
{
    setObjectName(QStringLiteral("runLogPage"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("运行日志"), this);
    heading->setObjectName(QStringLiteral("pageHeading"));
    layout->addWidget(heading);

    path_ = new QLabel(this);
    path_->setObjectName(QStringLiteral("runLogPath"));
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(path_);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("runLogText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(text_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* refresh = new QPushButton(QStringLiteral("刷新"), this);
    refresh->setObjectName(QStringLiteral("refreshLog"));
    auto* save = new QPushButton(QStringLiteral("另存"), this);
    save->setObjectName(QStringLiteral("saveLog"));
    buttons->addWidget(refresh);
    buttons->addWidget(save);
    layout->addLayout(buttons);

    connect(refresh, &QPushButton::clicked, this, [this] { viewer_.showLog(); });
    connect(save, &QPushButton::clicked, this, [this] { viewer_.saveLog(); });
    viewer_.onChanged = [this] { refreshView(); };
}

QString RunLogPage::shownText() const
{
    return text_->toPlainText();
}

void RunLogPage::setFileNameQuestion(RunLogViewer::AskFileName ask)
{
    ask_ = std::move(ask);
}

std::optional<QString> RunLogPage::askFileName()
{
    QFileDialog dialog(this, QStringLiteral("另存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The copy goes to the chosen name with ".log" added, never to the name
    // itself: a question about overwriting that name would be about a file
    // this page does not write (and an existing "<name>.log" is replaced
    // without asking).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void RunLogPage::refreshView()
{
    path_->setText(viewer_.shownPath());
    text_->setPlainText(viewer_.text());
    text_->moveCursor(QTextCursor::End);
}

}  // namespace vantorel::console::ui
