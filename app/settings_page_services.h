#pragma once

#include "console/listener_control.h"
#include "console/ui/pages/console_settings_pages.h"
#include "console/ui/pages/page_services.h"

#include <memory>

namespace vantorel::print_service {
class Listener;
}

namespace vantorel::app {

// What the settings pages ask of the rest of the program. The print service
// is built after the main window (its print job reports to the window), so
// the listener and the report page are attached once they exist; until then
// a port change does nothing.
class SettingsPageServices final : public console::ListenerControl,
                                   public console::ui::ReportPageControl {
public:
    std::unique_ptr<console::ui::ConsoleSettingsPages> makePages(const console::ui::PageContext& context);
    void attach(print_service::Listener& listener, console::ui::StartupServices& startup);

    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override;
    std::string listenState() const override;
    void setReportPage(const console::ui::ReportPageSetup& page) override;

private:
    print_service::Listener* listener_ = nullptr;
    console::ui::StartupServices* startup_ = nullptr;
    console::ui::PlaceholderHeaderEditor headerEditor_;
    console::ui::MinutePurgeTimer purgeTimer_;
    console::ui::ApplicationSkinApplier skins_;
    console::ui::SystemDesktopLauncher desktop_;
};

}  // namespace vantorel::app
