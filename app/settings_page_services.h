#pragma once

#include "base/fwd.h"
#include "console/port_control.h"
#include "console/ui/pages/console_settings_pages.h"
#include "console/ui/pages/page_services.h"
#include "hospital_name/ui/header_editor_window.h"
#include "purge_worker.h"
#include "template_composition/ui/template_designer_window.h"

#include <memory>

namespace vantorel::archive {
class FilmReprint;
class OdbcFilmListing;
}  // namespace vantorel::archive

namespace vantorel::print_service {
class ListeningPort;
}

namespace vantorel::app {

// What the settings pages ask of the rest of the program: port changes go to
// the print service's listening port, the report page to the start-up services.
// The hospital-name editor works on the pages' settings store and header
// settings and logs to `runLog`. The film-management page and the monthly
// purge that the run page switches are the film archive's; the film-management
// page prints saved films again through `reprint`. The print page's format
// designer is template composition's window.
class SettingsPageServices final : public console::PortControl, public console::ui::ReportPageControl {
public:
    SettingsPageServices(const base::Clock& clock, base::RunLog& runLog,
                         print_service::ListeningPort& listeningPort, console::ui::StartupServices& startup,
                         archive::FilmReprint& reprint);
    ~SettingsPageServices() override;

    std::unique_ptr<console::ui::ConsoleSettingsPages> makePages(const console::ui::PageContext& context);

    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override;
    bool listening() const override;
    bool retrying() const override;
    bool retryListening() override;
    void setReportPage(const console::ui::ReportPageSetup& page) override;

private:
    print_service::ListeningPort& listeningPort_;
    console::ui::StartupServices& startup_;
    base::RunLog& runLog_;
    archive::FilmReprint& reprint_;
    std::unique_ptr<hospital_name::ui::HeaderEditorWindow> headerEditor_;
    std::unique_ptr<template_composition::ui::TemplateDesignerWindow> templateDesigner_;
    console::ui::MinutePurgeTimer purgeTimer_;
    console::ui::ApplicationSkinApplier skins_;
    console::ui::SystemDesktopLauncher desktop_;
    PurgeWorker purge_;
    std::unique_ptr<archive::OdbcFilmListing> filmListing_;
};

}  // namespace vantorel::app
