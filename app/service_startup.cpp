#include "service_startup.h"

#include "print_service/printer_object.h"

#include <stdexcept>

namespace vantorel::app {

ServiceStartup::ServiceStartup(console::Settings& settings, console::RunLog& log,
                               console::OperatorMessages& messages,
                               print_service::PrintJobPort& printJob)
    : handler_(store_, film_, settings, printJob, log),
      associations_(store_, handler_, log),
      server_(dispatcher_, associations_),
      listener_(server_, settings, log, messages)
{
}

ServiceStartup::~ServiceStartup()
{
    dispatcher_.close();
    server_.stop();
}

bool ServiceStartup::startListening()
{
    listener_.startListening();
    return listener_.listenState() == "正常";
}

void ServiceStartup::createPrintObjectStore()
{
    // The store was built empty with the service, and no request can have
    // reached it: requests are handled only after start-up has finished.
    if (store_.size() != 0)
        throw std::logic_error("print object store is not empty at start-up");
}

void ServiceStartup::buildPrinterObject(const console::Settings& settings)
{
    print_service::MakePrinterdataset(store_, settings.aeTitle, settings.fujiCr,
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
