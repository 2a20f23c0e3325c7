#include "console/ui/pages/run_page.h"

#include "base/operator_messages.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/password_box.h"
#include "settings/platform/autostart_entry.h"
#include "settings/settings_keys.h"
#include "settings/settings_model.h"
#include "settings/settings_store.h"
#include "settings/settings_writer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vantorel::console::ui {

RunPage::RunPage(PageContext context, Services services, QWidget* parent)
    : QWidget(parent), context_(std::move(context)), services_(std::move(services))
{
    setObjectName(QStringLiteral("runSettingsPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageHeading(QStringLiteral("运行设置"), this));
    password_ = new PasswordBox(this);
    layout->addWidget(password_);

    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("lockedGroup"));
    auto* groupLayout = new QVBoxLayout(group_);
    saveFilms_ = new QCheckBox(QStringLiteral("保存当前月份的胶片"), group_);
    saveFilms_->setObjectName(QStringLiteral("saveFilms"));
    autoRun_ = new QCheckBox(QStringLiteral("开机自动运行"), group_);
    autoRun_->setObjectName(QStringLiteral("autoRun"));
    save_ = new QPushButton(QStringLiteral("保存设置"), group_);
    save_->setObjectName(QStringLiteral("save"));
    groupLayout->addWidget(saveFilms_);
    groupLayout->addWidget(autoRun_);
    groupLayout->addWidget(save_, 0, Qt::AlignLeft);
    layout->addWidget(group_);
    layout->addStretch(1);
    group_->setEnabled(false);

    connect(saveFilms_, &QCheckBox::toggled, this, &RunPage::saveFilmsToggled);
    connect(save_, &QPushButton::clicked, this, &RunPage::save);
}

QLineEdit* RunPage::passwordEdit() const
{
    return password_->edit();
}
QWidget* RunPage::lockedGroup() const
{
    return group_;
}

void RunPage::showAutoRun(bool on)
{
    autoRun_->setChecked(on);
}

void RunPage::showFilmSaving(bool on)
{
    // As saved, without the operator's message.
    const QSignalBlocker quiet(saveFilms_);
    saveFilms_->setChecked(on);
    switchFilmSaving(on);
}

void RunPage::switchFilmSaving(bool on)
{
    context_.settings.saveFilms = on;
    if (on)
        services_.purgeTimer.start();
    else
        services_.purgeTimer.stop();
}

void RunPage::saveFilmsToggled(bool on)
{
    switchFilmSaving(on);
    if (!on)
        return;
    context_.messages.show(
        "选择【保存当前月份的胶片】并点击【保存设置】按钮后，重新运行软件，可以显示【胶片管理】功能。",
        services_.applicationTitle.toStdString(), base::MessageIcon::None);
}

void RunPage::save()
{
    const SaveReport report(context_);
    const bool autoRun = autoRun_->isChecked();
    if (autoRun)
        settings::AutostartEntry::set(services_.executablePath.toStdString(),
                                      context_.homeFolder.toStdString());
    else
        settings::AutostartEntry::remove();
    settings::SettingsStore& store = context_.store;
    settings::Settings& settings = context_.settings;
    const settings::InstalledPrinters& printers = context_.installedPrinters;
    // A failed write is kept by the store and reported when the save ends.
    (void)settings::saveSetting(store, settings, printers, settings::keys::autoRun, autoRun ? "1" : "0");
    (void)settings::saveSetting(store, settings, printers, settings::keys::saveFilm,
                                saveFilms_->isChecked() ? "1" : "0");
}

}  // namespace vantorel::console::ui
