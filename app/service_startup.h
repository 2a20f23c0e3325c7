#pragma once

#include "console/ui/startup_services.h"

namespace vantorel::template_composition {
class AcReport;
}

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
                   print_service::PrintObjectStore& printObjects, template_composition::AcReport& report);

    // The report is printed without a viewer, so there is no toolbar.
    void switchOffViewerTools() override {}
    // The template road's report takes the paper size and margins.
    void setReportPage(const console::ui::ReportPageSetup& page) override;
    bool startListening() override;
    void createPrintObjectStore() override;
    void buildPrinterObject(const settings::ServiceSettings& settings) override;
    void buildFilmLut() override;

    const console::ui::ReportPageSetup& reportPage() const { return reportPage_; }

private:
    print_service::PrintServiceRuntime& printService_;
    print_service::PrintObjectStore& printObjects_;
    template_composition::AcReport& report_;
    console::ui::ReportPageSetup reportPage_;
};

}  // namespace vantorel::app
