#pragma once

#include "console/ui/startup_services.h"


namespace vantorel::print_service {
class PrintObjectStore;
class PrintServiceRuntime;
}  // namespace vantorel::print_service

namespace vantorel::app {

// The start-up steps that belong to the print service and film composition,
// over the objects the composition root built: listening, the empty store,
// the Printer object, the FilmLut and the report page.
class ServiceStartup final : public console::ui::StartupServices {
public:
    ServiceStartup(print_service::PrintServiceRuntime& printService,
                   print_service::PrintObjectStore& printObjects);

    // No report viewer is built yet: template films go through the template
    // road's stand-in, which has no toolbar.
    void switchOffViewerTools() override {}
    void setReportPage(const console::ui::ReportPageSetup& page) override { reportPage_ = page; }
    bool startListening() override;
    void createPrintObjectStore() override;
    void buildPrinterObject(const console::Settings& settings) override;
    void buildFilmLut() override;

    const console::ui::ReportPageSetup& reportPage() const { return reportPage_; }

private:
    print_service::PrintServiceRuntime& printService_;
    print_service::PrintObjectStore& printObjects_;
    console::ui::ReportPageSetup reportPage_;
};

}  // namespace vantorel::app
