#include "service_startup.h"

#include "print_service/dcmtk/print_service_runtime.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"

#include <stdexcept>

namespace vantorel::app {

ServiceStartup::ServiceStartup(print_service::PrintServiceRuntime& printService,
                               print_service::PrintObjectStore& printObjects)
    : printService_(printService), printObjects_(printObjects)
{
}

bool ServiceStartup::startListening()
{
    print_service::Listener& listener = printService_.listener();
    listener.startListening();
    return listener.listenState() == "正常";
}

void ServiceStartup::createPrintObjectStore()
{
    // The store was built empty with the service, and no request can have
    // reached it: requests are handled only after start-up has finished.
    if (printObjects_.size() != 0)
        throw std::logic_error("print object store is not empty at start-up");
}

void ServiceStartup::buildPrinterObject(const console::Settings& settings)
{
    print_service::MakePrinterdataset(printObjects_, settings.aeTitle, settings.fujiCr,
                                      print_service::toolkitVersionText());
}

void ServiceStartup::buildFilmLut()
{
    static constexpr std::int32_t base[45] = {
        0,   48,  50,  52,  55,  59,  64,  66,  67,  70,  72,  75,  77,  81,  83,
        88,  91,  94,  96,  97,  101, 104, 110, 113, 117, 125, 129, 131, 137, 141,
        146, 150, 155, 160, 165, 170, 175, 180, 192, 202, 208, 214, 220, 226, 255};
    for (std::size_t n = 0; n < filmLut_.size(); ++n)
        filmLut_[n] = 256 * base[n];
}

}  // namespace vantorel::app
