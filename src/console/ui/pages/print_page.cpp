#include "console/ui/pages/print_page.h"

#include "console/ui/pages/output_mode_panel.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/password_box.h"
#include "console/ui/pages/readme_help.h"
#include "console/ui/pages/routing_rows.h"
#include "settings/settings_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantorel::console::ui {

PrintPage::PrintPage(PageContext context, Services services, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), services_(services)
{
    setObjectName(QStringLiteral("printPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(pageHeading(QStringLiteral("打印设置"), this));
    password_ = new PasswordBox(this);
    layout->addWidget(password_);

    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("lockedGroup"));
    auto* groupLayout = new QVBoxLayout(group_);
    groupLayout->setSpacing(4);
    routing_ = new RoutingRows(context_, group_);
    groupLayout->addWidget(routing_);
    groupLayout->addWidget(buildOtherSizes(group_));
    auto* lower = new QHBoxLayout;
    output_ = new OutputModePanel(context_, services_.desktop, services_.templateDesigner, group_);
    lower->addWidget(output_, 1);
    lower->addWidget(buildSwitches(group_));
    groupLayout->addLayout(lower);
    layout->addWidget(group_);
    layout->addStretch(1);
    group_->setEnabled(false);
}

QWidget* PrintPage::buildOtherSizes(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    otherPaper_ = new QComboBox(box);
    otherPaper_->setObjectName(QStringLiteral("otherPaper"));
    for (const std::string& paper : settings::otherPaperList())
        otherPaper_->addItem(QString::fromStdString(paper));
    otherPaper_->setToolTip(
        QStringLiteral("放射设备发送的胶片,除14X17、A3、A4外,其它规格胶片使用的打印胶片规格"));
    otherPaper_->setFixedWidth(80);
    otherPrinter_ = new QComboBox(box);
    otherPrinter_->setObjectName(QStringLiteral("otherPrinter"));
    otherPrinter_->setMinimumWidth(200);
    row->addWidget(new QLabel(QStringLiteral("除以上外均使用以下胶片打印："), box));
    row->addWidget(otherPaper_);
    row->addWidget(otherPrinter_, 1);
    // The printer for other sizes acts from the next film on.
    connect(otherPrinter_, &QComboBox::currentIndexChanged, this,
            [this](int position) { context_.settings.otherPrinterIndex = position; });
    return box;
}

QWidget* PrintPage::buildSwitches(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(6, 8, 0, 0);
    blackBase_ = new QCheckBox(QStringLiteral("打印黑底胶片"), box);
    lut_ = new QCheckBox(QStringLiteral("打印胶片时启用LUT"), box);
    printHeader_ = new QCheckBox(QStringLiteral("打印医院名称"), box);
    headerEditor_ = new QPushButton(QStringLiteral("设置医院名称"), box);
    help_ = new QPushButton(QStringLiteral("?"), box);
    help_->setToolTip(QStringLiteral("设置帮助"));
    save_ = new QPushButton(QStringLiteral("保存设置"), box);
    blackBase_->setObjectName(QStringLiteral("blackBase"));
    lut_->setObjectName(QStringLiteral("lut"));
    printHeader_->setObjectName(QStringLiteral("printHeader"));
    headerEditor_->setObjectName(QStringLiteral("headerEditor"));
    help_->setObjectName(QStringLiteral("help"));
    save_->setObjectName(QStringLiteral("save"));
    column->addWidget(blackBase_);
    column->addWidget(lut_);
    auto* header = new QHBoxLayout;
    header->addWidget(printHeader_);
    header->addWidget(headerEditor_);
    column->addLayout(header);
    column->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help_);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    column->addLayout(buttons);

    settings::Settings& settings = context_.settings;
    connect(blackBase_, &QCheckBox::toggled, this, [&settings](bool on) { settings.blackBase = on ? 1 : 0; });
    connect(printHeader_, &QCheckBox::toggled, this,
            [&settings](bool on) { settings.printHeader = on ? 1 : 0; });
    // The editor's button follows the box when the operator changes it.
    connect(printHeader_, &QCheckBox::clicked, this,
            [this] { headerEditor_->setEnabled(printHeader_->isChecked()); });
    connect(headerEditor_, &QPushButton::clicked, this, [this] { services_.headerEditor.open(window()); });
    connect(help_, &QPushButton::clicked, this, &PrintPage::openHelp);
    connect(save_, &QPushButton::clicked, this, &PrintPage::save);
    return box;
}

QLineEdit* PrintPage::passwordEdit() const
{
    return password_->edit();
}
QWidget* PrintPage::lockedGroup() const
{
    return group_;
}

void PrintPage::setHeaderEditorEnabled(bool enabled)
{
    headerEditor_->setEnabled(enabled);
}

void PrintPage::showSettings()
{
    const settings::Settings& settings = context_.settings;
    routing_->showSettings();
    output_->showSettings();
    otherPaper_->setCurrentIndex(settings.otherPaper == "A3" ? 0 : 1);
    {
        const QSignalBlocker quiet(otherPrinter_);
        otherPrinter_->clear();
        for (const std::string& printer : context_.installedPrinters)
            otherPrinter_->addItem(QString::fromStdString(printer));
        otherPrinter_->setCurrentIndex(settings.otherPrinterIndex);
    }
    for (QCheckBox* box : {blackBase_, lut_, printHeader_})
        box->blockSignals(true);
    blackBase_->setChecked(settings.blackBase != 0);
    lut_->setChecked(settings.lutEnabled == "1");
    printHeader_->setChecked(settings.printHeader != 0);
    for (QCheckBox* box : {blackBase_, lut_, printHeader_})
        box->blockSignals(false);
}

settings::PrintPageValues PrintPage::values() const
{
    settings::PrintPageValues v;
    v.lutChecked = lut_->isChecked();
    v.useBinChecked = output_->useBin();
    v.binText = output_->binText().toStdString();
    v.routeByDevice = routing_->routeByDevice();
    v.deviceIps = routing_->deviceIps();
    v.blackBase = blackBase_->isChecked();
    v.otherPaperText = otherPaper_->currentText().toStdString();
    v.printHeader = printHeader_->isChecked();
    v.marginLeft = output_->margin(OutputModePanel::Left);
    v.marginTop = output_->margin(OutputModePanel::Top);
    v.marginRight = output_->margin(OutputModePanel::Right);
    v.marginBottom = output_->margin(OutputModePanel::Bottom);
    v.routePaperIndex = routing_->paperIndexes();
    v.otherPrinterIndex = otherPrinter_->currentIndex();
    v.templateMode = output_->templateMode();
    return v;
}

void PrintPage::save()
{
    const SaveReport report(context_);
    settings::savePrintPage(context_.store, context_.settings, context_.installedPrinters, values());
    // The report page is set up again, now with 5-twip margins.
    ReportPageSetup page;
    page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = 5.0f;
    services_.reportPage.setReportPage(page);
}

// The home's help.mht with the desktop's opener; without one, the README in
// a help window of our own, also written as help.html into the home.
void PrintPage::openHelp()
{
    const QString helpFile = context_.homeFolder + QStringLiteral("/help.mht");
    if (QFileInfo::exists(helpFile)) {
        services_.desktop.openDocument(helpFile);
        return;
    }
    if (readmeHelp_) {
        readmeHelp_->raise();
        readmeHelp_->activateWindow();
        return;
    }
    readmeHelp_ =
        showReadmeHelp(window(), builtInReadme(), context_.homeFolder + QStringLiteral("/help.html"));
}

}  // namespace vantorel::console::ui
