#pragma once

#include "console/ui/startup_services.h"
#include "print_service/associations.h"
#include "print_service/dcmtk/association_server.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"
#include "print_service/film_parameters.h"
#include "print_service/listener.h"
#include "print_service/print_object_store.h"
#include "print_service/request_handler.h"

#include <QImage>

#include <array>
#include <cstdint>

namespace vantorel::console {
class OperatorMessages;
class RunLog;
}  // namespace vantorel::console

namespace vantorel::app {

// The print service as start-up brings it up: the store, the request handler,
// the association bookkeeping, the main-thread dispatcher and the DICOM
// listener, built once here and started by the start-up steps.
class ServiceStartup final : public console::ui::StartupServices {
public:
    ServiceStartup(console::Settings& settings, console::RunLog& log,
                   console::OperatorMessages& messages, print_service::PrintJobPort& printJob);
    ~ServiceStartup() override;

    void setHeaderIcon(const QImage& icon) override { headerIcon_ = icon; }
    void switchOffViewerTools() override {}
    void setReportPage(const console::ui::ReportPageSetup& page) override { reportPage_ = page; }
    bool startListening() override;
    void createPrintObjectStore() override;
    void buildPrinterObject(const console::Settings& settings) override;
    void buildFilmLut() override;

    print_service::PrintObjectStore& store() { return store_; }
    print_service::Listener& listener() { return listener_; }
    const QImage& headerIcon() const { return headerIcon_; }
    const console::ui::ReportPageSetup& reportPage() const { return reportPage_; }
    const std::array<std::int32_t, 45>& filmLut() const { return filmLut_; }

private:
    print_service::PrintObjectStore store_;
    print_service::FilmParameters film_;
    print_service::RequestHandler handler_;
    print_service::Associations associations_;
    print_service::MainThreadDispatcher dispatcher_;
    print_service::AssociationServer server_;
    print_service::Listener listener_;
    QImage headerIcon_;
    console::ui::ReportPageSetup reportPage_;
    std::array<std::int32_t, 45> filmLut_{};
};

}  // namespace vantorel::app
