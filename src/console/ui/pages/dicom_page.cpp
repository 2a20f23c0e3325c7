#include "console/ui/pages/dicom_page.h"

#include "base/operator_messages.h"
#include "console/port_control.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/password_box.h"
#include "settings/settings_keys.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_writer.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantorel::console::ui {

namespace {

// The title the page stores: 1 to 16 characters.
bool isAeTitle(const QString& title)
{
    return !title.isEmpty() && title.size() <= 16;
}

// A port as the page takes it: digits only, 1 to 65535.
bool isPortText(const QString& text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && !text.startsWith(QLatin1Char('+')) && port >= 1 && port <= 65535;
}

const QString conversionHint = QStringLiteral(
    "对一些设备通讯异常时（如PHILIPS Optimus DR），可设置为“强制转换接收的打印指定”进行测试。");

}  // namespace

DicomPage::DicomPage(PageContext context, PortControl& portControl, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), portControl_(portControl)
{
    setObjectName(QStringLiteral("dicomPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageHeading(QStringLiteral("DICOM设置"), this));
    password_ = new PasswordBox(this);
    layout->addWidget(password_);

    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("lockedGroup"));
    auto* groupLayout = new QVBoxLayout(group_);
    auto* form = new QFormLayout;
    aeTitle_ = new QLineEdit(group_);
    aeTitle_->setObjectName(QStringLiteral("aeTitle"));
    port_ = new QLineEdit(group_);
    port_->setObjectName(QStringLiteral("listenPort"));
    for (QLineEdit* edit : {aeTitle_, port_})
        edit->setFixedWidth(200);
    form->addRow(QStringLiteral("相机AE Title："), aeTitle_);
    form->addRow(QStringLiteral("相机监听端口："), port_);
    groupLayout->addLayout(form);
    groupLayout->addWidget(buildCommandGroup(group_));

    save_ = new QPushButton(QStringLiteral("保存设置"), group_);
    save_->setObjectName(QStringLiteral("save"));
    groupLayout->addWidget(save_, 0, Qt::AlignLeft);
    layout->addWidget(group_);
    layout->addStretch(1);

    // The conversion choice acts on the next request even before it is saved.
    connect(convert_, &QRadioButton::toggled, this, [this](bool on) { context_.settings.forceConvert = on; });
    connect(save_, &QPushButton::clicked, this, &DicomPage::save);
    group_->setEnabled(false);
}

QWidget* DicomPage::buildCommandGroup(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("非常规打印指令"), parent);
    box->setObjectName(QStringLiteral("commandGroup"));
    box->setToolTip(conversionHint);
    auto* layout = new QVBoxLayout(box);
    asReceived_ = new QRadioButton(QStringLiteral("根据接收的指令打印(默认)"), box);
    convert_ = new QRadioButton(QStringLiteral("强制转换接收的打印指令"), box);
    asReceived_->setChecked(true);
    layout->addWidget(asReceived_);
    layout->addWidget(convert_);
    auto* hint = new QLabel(conversionHint, box);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    return box;
}

QLineEdit* DicomPage::passwordEdit() const
{
    return password_->edit();
}
QWidget* DicomPage::lockedGroup() const
{
    return group_;
}

void DicomPage::showSettings()
{
    const settings::Settings& settings = context_.settings;
    aeTitle_->setText(QString::fromStdString(settings.aeTitle));
    port_->setText(QString::fromStdString(settings.listenPort));
    const QSignalBlocker quiet(convert_);
    (settings.forceConvert ? convert_ : asReceived_)->setChecked(true);
}

void DicomPage::save()
{
    // A title or port the service could not use is refused whole: nothing
    // is written, and the page keeps what was typed.
    const QString title = aeTitle_->text().trimmed();
    if (!isAeTitle(title)) {
        context_.messages.show("相机AE Title须为1到16个字符，设置未保存。", "设置失败",
                               base::MessageIcon::Warning);
        return;
    }
    if (!isPortText(port_->text().trimmed())) {
        context_.messages.show("相机监听端口须为1到65535之间的整数，设置未保存。", "设置失败",
                               base::MessageIcon::Warning);
        return;
    }
    const SaveReport report(context_);
    settings::SettingsStore& store = context_.store;
    settings::Settings& settings = context_.settings;
    const settings::InstalledPrinters& printers = context_.installedPrinters;
    // A failed write is kept by the store and reported when the save ends.
    (void)settings::saveSetting(store, settings, printers, settings::keys::forceGrey,
                                asReceived_->isChecked() ? "0" : "1");
    (void)settings::saveSetting(store, settings, printers, settings::keys::aeTitle,
                                aeTitle_->text().trimmed().toStdString());
    const bool changed = portControl_.changePort(port_->text().toStdString(), [&](const std::string& port) {
        (void)settings::saveSetting(store, settings, printers, settings::keys::listenPort, port);
    });
    emit listenStatusChanged(port_->text().trimmed(), changed, changed && portControl_.listening());
}

}  // namespace vantorel::console::ui
