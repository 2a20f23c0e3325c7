#include "service_startup.h"

#include "print_job/film_lut.h"
#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "template_composition/ac_report.h"

#include <stdexcept>

namespace vantorel::app {

ServiceStartup::ServiceStartup(print_service::PrintServiceRuntime& printService,
                               print_service::PrintObjectStore& printObjects,
                               template_composition::AcReport& report)
    : printService_(printService), printObjects_(printObjects), report_(report)
{}

void ServiceStartup::setReportPage(const console::ui::ReportPageSetup& page)
{
    reportPage_ = page;
    report_.setPaperSize(page.paperWidth, page.paperHeight);
    report_.setMargins(page.marginLeft, page.marginTop, page.marginRight, page.marginBottom);
}

bool ServiceStartup::startListening()
{
    print_service::ListeningPort& listeningPort = printService_.listeningPort();
    listeningPort.startListening();
    return listeningPort.listening();
}

void ServiceStartup::createPrintObjectStore()
{
    // The store was built empty with the service, and no request can have
    // reached it: requests are handled only after start-up has finished.
    if (printObjects_.size() != 0)
        throw std::logic_error("print object store is not empty at start-up");
}

void ServiceStartup::buildPrinterObject(const settings::ServiceSettings& settings)
{
    print_service::MakePrinterdataset(printObjects_, settings.aeTitle, settings.fujiCr,
                                      print_service::toolkitVersionText());
}

void ServiceStartup::buildFilmLut()
{
    // The table is built once, on first use; build it now, before any film.
    print_job::filmLut();
}

}  // namespace vantorel::app
