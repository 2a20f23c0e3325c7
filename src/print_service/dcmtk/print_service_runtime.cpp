#include "print_service/dcmtk/print_service_runtime.h"

#include <cstdlib>
#include <string>

namespace vantorel::print_service {

PrintServiceRuntime::PrintServiceRuntime(PrintObjectStore& store, FilmParameters& film,
                                         const settings::ServiceSettings& service,
                                         const settings::CompositionSettings& composition,
                                         std::string& listenPort, PrintJobPort& printJob, base::RunLog& log,
                                         base::OperatorMessages& messages, ServerLimits limits)
    : handler_(store, film, service, composition, printJob, log),
      associations_(store, handler_, log, StoreLimits{limits.maxObjects, limits.maxPixelBytes}),
      server_(dispatcher_, associations_, limits),
      listeningPort_(server_, listenPort, log, messages)
{}

PrintServiceRuntime::~PrintServiceRuntime()
{
    stop();
}

void PrintServiceRuntime::stop()
{
    dispatcher_.close();
    server_.stop();
}

namespace {

template <typename T> void override(T& value, const char* name)
{
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end != nullptr && *end == '\0' && parsed > 0)
        value = static_cast<T>(parsed);
}

}  // namespace

ServerLimits limitsFromEnvironment()
{
    ServerLimits limits;
    override(limits.maxAssociations, "VANTOREL_MAX_ASSOCIATIONS");
    override(limits.maxPending, "VANTOREL_MAX_PENDING");
    override(limits.idleTimeoutSeconds, "VANTOREL_IDLE_TIMEOUT");
    override(limits.acseTimeoutSeconds, "VANTOREL_ACSE_TIMEOUT");
    override(limits.dimseTimeoutSeconds, "VANTOREL_DIMSE_TIMEOUT");
    override(limits.maxDataSetBytes, "VANTOREL_MAX_DATASET_BYTES");
    override(limits.maxObjects, "VANTOREL_MAX_OBJECTS");
    override(limits.maxPixelBytes, "VANTOREL_MAX_PIXEL_BYTES");
    return limits;
}

}  // namespace vantorel::print_service
