#include "console/ui/pages/output_mode_panel.h"

#include "settings/settings_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace vantorel::console::ui {

namespace {

struct MarginKind {
    const char* caption;
    const char* objectName;
    int low;
    int high;
    bool millimetres;
    int settings::Settings::*field;
};

const MarginKind marginKinds[4] = {
    {"打印左边距：", "marginLeft", -100, 100, true, &settings::Settings::marginLeft},
    {"打印上边距：", "marginTop", -100, 100, true, &settings::Settings::marginTop},
    {"调节参数：", "marginRight", -3000, 3000, false, &settings::Settings::marginRight},
    {"打印下边距：", "marginBottom", 0, 250, false, &settings::Settings::marginBottom},
};

QString marginText(int which, int value)
{
    return QString::number(value) + (marginKinds[which].millimetres ? QStringLiteral("mm") : QString());
}

}  // namespace

OutputModePanel::OutputModePanel(PageContext context, DesktopLauncher& desktop,
                                 TemplateDesignerOpener& designer, QWidget* parent)
    : QGroupBox(QStringLiteral("胶片输出方式"), parent),
      context_(std::move(context)),
      desktop_(desktop),
      designerWindow_(designer)
{
    setObjectName(QStringLiteral("outputMode"));
    auto* layout = new QVBoxLayout(this);
    autoLayout_ = new QRadioButton(QStringLiteral("软件自动排版"), this);
    template_ = new QRadioButton(QStringLiteral("用户自定义格式"), this);
    autoLayout_->setObjectName(QStringLiteral("autoLayout"));
    template_->setObjectName(QStringLiteral("templateMode"));
    autoLayout_->setChecked(true);
    layout->addWidget(autoLayout_);
    layout->addWidget(buildAutoPanel());
    layout->addWidget(template_);
    layout->addWidget(buildTemplatePanel());
    showMode(false);

    connect(template_, &QRadioButton::toggled, this, [this](bool on) {
        context_.settings.templateMode = on;
        showMode(on);
    });
}

QWidget* OutputModePanel::buildAutoPanel()
{
    autoPanel_ = new QWidget(this);
    autoPanel_->setObjectName(QStringLiteral("autoLayoutPanel"));
    auto* grid = new QGridLayout(autoPanel_);
    grid->setContentsMargins(18, 0, 0, 0);
    grid->setVerticalSpacing(2);
    for (int which = 0; which < 4; ++which) {
        const MarginKind& kind = marginKinds[which];
        auto* slider = new QSlider(Qt::Horizontal, autoPanel_);
        slider->setObjectName(QString::fromLatin1(kind.objectName));
        slider->setRange(kind.low, kind.high);
        slider->setMinimumWidth(110);
        auto* value = new QLabel(marginText(which, slider->value()), autoPanel_);
        value->setObjectName(QString::fromLatin1(kind.objectName) + QStringLiteral("Value"));
        value->setMinimumWidth(48);
        const int row = which / 2;
        const int column = (which % 2) * 3;
        grid->addWidget(new QLabel(QString::fromUtf8(kind.caption), autoPanel_), row, column);
        grid->addWidget(slider, row, column + 1);
        grid->addWidget(value, row, column + 2);
        sliders_[which] = slider;
        values_[which] = value;
        connect(slider, &QSlider::valueChanged, this,
                [this, which](int v) { marginMoved(static_cast<Margin>(which), v); });
    }
    return autoPanel_;
}

QWidget* OutputModePanel::buildTemplatePanel()
{
    templatePanel_ = new QWidget(this);
    templatePanel_->setObjectName(QStringLiteral("templatePanel"));
    auto* row = new QHBoxLayout(templatePanel_);
    row->setContentsMargins(18, 0, 0, 0);
    useBin_ = new QCheckBox(QStringLiteral("指定进纸器"), templatePanel_);
    useBin_->setObjectName(QStringLiteral("useBin"));
    bin_ = new QComboBox(templatePanel_);
    bin_->setObjectName(QStringLiteral("paperBin"));
    for (const std::string& bin : settings::paperBinList())
        bin_->addItem(QString::fromStdString(bin));
    bin_->setCurrentIndex(-1);
    bin_->setFixedWidth(70);
    designer_ = new QPushButton(QStringLiteral("胶片格式设计"), templatePanel_);
    designer_->setObjectName(QStringLiteral("designer"));
    row->addWidget(useBin_);
    row->addWidget(bin_);
    row->addStretch(1);
    row->addWidget(designer_);
    connect(designer_, &QPushButton::clicked, this, &OutputModePanel::startDesigner);
    return templatePanel_;
}

void OutputModePanel::showMode(bool templateMode)
{
    autoPanel_->setEnabled(!templateMode);
    templatePanel_->setEnabled(templateMode);
}

void OutputModePanel::marginMoved(Margin which, int value)
{
    values_[which]->setText(marginText(which, value));
    context_.settings.*(marginKinds[which].field) = value;
}

void OutputModePanel::showSettings()
{
    const settings::Settings& settings = context_.settings;
    {
        const QSignalBlocker quiet(template_);
        (settings.templateMode ? template_ : autoLayout_)->setChecked(true);
    }
    showMode(settings.templateMode);
    for (int which = 0; which < 4; ++which) {
        const int value = settings.*(marginKinds[which].field);
        const QSignalBlocker quiet(sliders_[which]);
        sliders_[which]->setValue(value);
        values_[which]->setText(marginText(which, sliders_[which]->value()));
    }
    useBin_->setChecked(settings.useBin != 0);
    bin_->setCurrentIndex(settings.paperBinIndex);
}

bool OutputModePanel::templateMode() const
{
    return template_->isChecked();
}
int OutputModePanel::margin(Margin which) const
{
    return sliders_[which]->value();
}
bool OutputModePanel::useBin() const
{
    return useBin_->isChecked();
}
QString OutputModePanel::binText() const
{
    return bin_->currentText();
}

QString OutputModePanel::designerFileName()
{
    return QStringLiteral("胶片模式设计.exe");
}

void OutputModePanel::startDesigner()
{
    const QString path = context_.homeFolder + QLatin1Char('/') + designerFileName();
    if (QFileInfo(path).isFile()) {
        desktop_.startProgram(path);
        return;
    }
    designerWindow_.open(window());
}

}  // namespace vantorel::console::ui
