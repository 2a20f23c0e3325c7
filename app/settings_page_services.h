#pragma once

#include "console/listener_control.h"
#include "console/ui/pages/console_settings_pages.h"
#include "console/ui/pages/page_services.h"
#include "hospital_name/ui/header_editor_window.h"

#include <memory>

namespace vantorel::console {
class RunLog;
}

namespace vantorel::print_service {
class Listener;
}

namespace vantorel::app {

// What the settings pages ask of the rest of the program. The print service
// is built after the main window (its print job reports to the window), so
// the listener and the report page are attached once they exist; until then
// a port change does nothing. The hospital-name editor works on the pages'
// settings store and header settings and logs to `runLog`.
class SettingsPageServices final : public console::ListenerControl,
                                   public console::ui::ReportPageControl {
public:
    explicit SettingsPageServices(console::RunLog& runLog) : runLog_(runLog) {}

    std::unique_ptr<console::ui::ConsoleSettingsPages> makePages(const console::ui::PageContext& context);
    void attach(print_service::Listener& listener, console::ui::StartupServices& startup);

    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override;
    std::string listenState() const override;
    void setReportPage(const console::ui::ReportPageSetup& page) override;

private:
    print_service::Listener* listener_ = nullptr;
    console::ui::StartupServices* startup_ = nullptr;
    console::RunLog& runLog_;
    std::unique_ptr<hospital_name::ui::HeaderEditorWindow> headerEditor_;
    console::ui::MinutePurgeTimer purgeTimer_;
    console::ui::ApplicationSkinApplier skins_;
    console::ui::SystemDesktopLauncher desktop_;
};

}  // namespace vantorel::app
