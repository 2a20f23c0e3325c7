#include "console/ui/pages/routing_rows.h"

#include "settings/settings_loader.h"
#include "settings/settings_writer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantorel::console::ui {

namespace {

const char* const filmSizeLabels[settings::routeCount] = {"14INX17IN", "14INX14IN", "11INX14IN", "10INX12IN",
                                                          "8INX10IN",  "A3",        "A4",        "10INX14IN"};

const QString assignCaption = QStringLiteral("指定");
const QString confirmCaption = QStringLiteral("确认");
// While a row is being assigned its button turns red.
const QString confirmLook = QStringLiteral("QPushButton { background: #d22; color: #fff; }");

QStringList toQStrings(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

}  // namespace

RoutingRows::RoutingRows(PageContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    setObjectName(QStringLiteral("routingRows"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildChoice());

    auto* table = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    sizeHeading_ = new QLabel(QStringLiteral("发送的胶片尺寸："), this);
    ipHeading_ = new QLabel(QStringLiteral("发送设备的IP："), this);
    grid->addWidget(sizeHeading_, 0, 0);
    grid->addWidget(ipHeading_, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("使用的打印机："), this), 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("打印机胶片尺寸："), this), 0, 3);
    for (int row = 0; row < settings::routeCount; ++row)
        buildRow(row, *grid);
    grid->setColumnStretch(1, 1);
    table->addLayout(grid, 1);

    printers_ = new QListWidget(this);
    printers_->setObjectName(QStringLiteral("installedPrinters"));
    printers_->setSelectionMode(QAbstractItemView::MultiSelection);
    printers_->setFixedWidth(220);
    printers_->hide();
    table->addWidget(printers_);
    layout->addLayout(table);
    showMode(false);
}

QWidget* RoutingRows::buildChoice()
{
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    bySize_ = new QRadioButton(QStringLiteral("根据发送的胶片尺寸指定打印机"), box);
    byDevice_ = new QRadioButton(QStringLiteral("根据发送设备指定打印机"), box);
    bySize_->setObjectName(QStringLiteral("routeBySize"));
    byDevice_->setObjectName(QStringLiteral("routeByDevice"));
    bySize_->setChecked(true);
    layout->addWidget(bySize_);
    layout->addWidget(byDevice_);
    layout->addStretch(1);
    layout->addWidget(new QLabel(QStringLiteral("指定胶片与打印机对应纸张尺寸，请设置："), box));
    // The choice acts from the next film on, before any save.
    connect(byDevice_, &QRadioButton::toggled, this, [this](bool on) {
        context_.settings.routeByDevice = on;
        showMode(on);
    });
    return box;
}

void RoutingRows::buildRow(int row, QGridLayout& grid)
{
    Row& r = rows_[index(row)];
    const int line = row + 1;
    r.filmSize = new QLineEdit(QString::fromLatin1(filmSizeLabels[row]), this);
    r.filmSize->setReadOnly(true);
    r.filmSize->setFocusPolicy(Qt::NoFocus);
    r.ip = new QLineEdit(this);
    r.ip->setToolTip(QStringLiteral("请输入接入设备的IP"));
    r.pool = new QLineEdit(this);
    r.pool->setReadOnly(true);
    r.pool->setFocusPolicy(Qt::NoFocus);
    r.assign = new QPushButton(assignCaption, this);
    r.paper = new QComboBox(this);
    for (const std::string& code : settings::paperCodeList())
        r.paper->addItem(QString::fromStdString(code));
    r.paper->setCurrentIndex(-1);
    r.filmSize->setObjectName(QStringLiteral("filmSize%1").arg(row));
    r.ip->setObjectName(QStringLiteral("deviceIp%1").arg(row));
    r.pool->setObjectName(QStringLiteral("pool%1").arg(row));
    r.assign->setObjectName(QStringLiteral("assign%1").arg(row));
    r.paper->setObjectName(QStringLiteral("paper%1").arg(row));
    r.filmSize->setFixedWidth(130);
    r.ip->setFixedWidth(130);
    r.paper->setFixedWidth(110);
    grid.addWidget(r.filmSize, line, 0);
    grid.addWidget(r.ip, line, 0);
    grid.addWidget(r.pool, line, 1);
    grid.addWidget(r.assign, line, 2);
    grid.addWidget(r.paper, line, 3);

    connect(r.assign, &QPushButton::clicked, this, [this, row] { assign(row); });
    connect(r.ip, &QLineEdit::textChanged, this, [this, row](const QString& text) {
        context_.settings.routeDeviceIp[index(row)] = text.toStdString();
    });
    connect(r.paper, &QComboBox::currentIndexChanged, this,
            [this, row](int paper) { context_.settings.routePaperIndex[index(row)] = paper; });
}

void RoutingRows::showMode(bool byDevice)
{
    sizeHeading_->setVisible(!byDevice);
    ipHeading_->setVisible(byDevice);
    for (Row& r : rows_) {
        r.filmSize->setVisible(!byDevice);
        r.ip->setVisible(byDevice);
    }
}

void RoutingRows::showPool(int row)
{
    const QStringList pool = toQStrings(context_.settings.routePrinters[index(row)]);
    QLineEdit* view = rows_[index(row)].pool;
    view->setText(pool.join(QStringLiteral("; ")));
    view->setToolTip(pool.join(QLatin1Char('\n')));
    view->setCursorPosition(0);
}

void RoutingRows::showSettings()
{
    const settings::Settings& settings = context_.settings;
    {
        const QSignalBlocker quiet(byDevice_);
        (settings.routeByDevice ? byDevice_ : bySize_)->setChecked(true);
    }
    showMode(settings.routeByDevice);
    for (int row = 0; row < settings::routeCount; ++row) {
        Row& r = rows_[index(row)];
        const QSignalBlocker quietIp(r.ip);
        const QSignalBlocker quietPaper(r.paper);
        r.ip->setText(QString::fromStdString(settings.routeDeviceIp[index(row)]));
        r.paper->setCurrentIndex(settings.routePaperIndex[index(row)]);
        showPool(row);
    }
    printers_->clear();
    printers_->addItems(toQStrings(context_.installedPrinters));
}

bool RoutingRows::routeByDevice() const
{
    return byDevice_->isChecked();
}

std::array<std::string, settings::routeCount> RoutingRows::deviceIps() const
{
    std::array<std::string, settings::routeCount> ips;
    for (int row = 0; row < settings::routeCount; ++row)
        ips[index(row)] = rows_[index(row)].ip->text().toStdString();
    return ips;
}

std::array<int, settings::routeCount> RoutingRows::paperIndexes() const
{
    std::array<int, settings::routeCount> papers{};
    for (int row = 0; row < settings::routeCount; ++row)
        papers[index(row)] = rows_[index(row)].paper->currentIndex();
    return papers;
}

void RoutingRows::assign(int row)
{
    if (row < 0 || row >= settings::routeCount)
        return;
    // Without the printer-list file the operator is told so; the button works on.
    settings::printerListAvailable(context_.store, context_.messages);
    QPushButton* button = rows_[index(row)].assign;
    if (button->text() == assignCaption) {
        printers_->show();
        button->setText(confirmCaption);
        button->setStyleSheet(confirmLook);
    } else {
        confirm(row);
    }
    printers_->clearSelection();
}

void RoutingRows::confirm(int row)
{
    printers_->hide();
    QPushButton* button = rows_[index(row)].assign;
    button->setText(assignCaption);
    std::vector<std::string> pool;
    for (int i = 0; i < printers_->count(); ++i) {
        if (printers_->item(i)->isSelected())
            pool.push_back(printers_->item(i)->text().toStdString());
    }
    {
        const SaveReport report(context_);
        // A failed write is kept by the store and reported when the save ends.
        (void)settings::saveRoutePrinters(context_.store, context_.settings, row, pool);
    }
    showPool(row);
    button->setStyleSheet(QString());
}

}  // namespace vantorel::console::ui
