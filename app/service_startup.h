#pragma once

#include "console/ui/startup_services.h"

#include <QImage>

#include <array>
#include <cstdint>

namespace vantorel::print_service {
class PrintObjectStore;
class PrintServiceRuntime;
}  // namespace vantorel::print_service

namespace vantorel::app {

// The start-up steps that belong to the print service and film composition,
// over the objects the composition root built: listening, the empty store,
// the Printer object, the FilmLut, the header icon and the report page.
class ServiceStartup final : public console::ui::StartupServices {
public:
    ServiceStartup(print_service::PrintServiceRuntime& printService,
                   print_service::PrintObjectStore& printObjects);

    void setHeaderIcon(const QImage& icon) override { headerIcon_ = icon; }
    void switchOffViewerTools() override {}
    void setReportPage(const console::ui::ReportPageSetup& page) override { reportPage_ = page; }
    bool startListening() override;
    void createPrintObjectStore() override;
    void buildPrinterObject(const console::Settings& settings) override;
    void buildFilmLut() override;

    const QImage& headerIcon() const { return headerIcon_; }
    const console::ui::ReportPageSetup& reportPage() const { return reportPage_; }
    const std::array<std::int32_t, 45>& filmLut() const { return filmLut_; }

private:
    print_service::PrintServiceRuntime& printService_;
    print_service::PrintObjectStore& printObjects_;
    QImage headerIcon_;
    console::ui::ReportPageSetup reportPage_;
    std::array<std::int32_t, 45> filmLut_{};
};

}  // namespace vantorel::app
