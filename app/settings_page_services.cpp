#include "settings_page_services.h"

#include "print_service/listener.h"

#include <QGuiApplication>

namespace vantorel::app {

std::unique_ptr<console::ui::ConsoleSettingsPages>
SettingsPageServices::makePages(const console::ui::PageContext& context)
{
    headerEditor_ = std::make_unique<hospital_name::ui::HeaderEditorWindow>(
        context.store, context.settings.header, runLog_);
    const console::ui::ConsoleSettingsPages::Services services{
        *this, *headerEditor_, purgeTimer_, skins_, *this, desktop_,
        QCoreApplication::applicationFilePath(), QGuiApplication::applicationDisplayName()};
    return std::make_unique<console::ui::ConsoleSettingsPages>(context, services);
}

void SettingsPageServices::attach(print_service::Listener& listener, console::ui::StartupServices& startup)
{
    listener_ = &listener;
    startup_ = &startup;
}

bool SettingsPageServices::changePort(const std::string& typedPort,
                                      const std::function<void(const std::string&)>& storePort)
{
    return listener_ && listener_->changePort(typedPort, storePort);
}

std::string SettingsPageServices::listenState() const
{
    return listener_ ? listener_->listenState() : std::string();
}

void SettingsPageServices::setReportPage(const console::ui::ReportPageSetup& page)
{
    if (startup_)
        startup_->setReportPage(page);
}

}  // namespace vantorel::app
