#include "direct_composition/cups/cups_document_job.h"

#include <cups/cups.h>

namespace vantorel::direct_composition {

namespace {

std::string lastCupsError()
{
    const char* text = cupsLastErrorString();
    return text && *text ? text : "no answer from CUPS";
}

// The options as libcups holds them, freed on the way out.
class JobOptions {
public:
    explicit JobOptions(const std::vector<std::pair<std::string, std::string>>& options)
    {
        for (const auto& [name, value] : options)
            count_ = cupsAddOption(name.c_str(), value.c_str(), count_, &options_);
    }
    ~JobOptions() { cupsFreeOptions(count_, options_); }
    JobOptions(const JobOptions&) = delete;
    JobOptions& operator=(const JobOptions&) = delete;

    int count() const { return count_; }
    cups_option_t* options() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

}  // namespace

base::Result<void> printDocumentOnCups(const std::string& queue, const std::string& title,
                                       const std::vector<std::pair<std::string, std::string>>& options,
                                       const std::function<bool(const CupsDocumentSink&)>& writeDocument)
{
    const std::string name = queue.substr(0, queue.find('/'));
    const JobOptions jobOptions(options);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, name.c_str(), title.c_str(), jobOptions.count(),
                                  jobOptions.options());
    if (job <= 0)
        return base::Failure{"printer " + queue + " created no job: " + lastCupsError()};
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        base::Failure why{"printer " + queue + " took no document: " + lastCupsError()};
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.c_str(), job, 0);
        return why;
    }
    const bool written = writeDocument([](const char* data, std::size_t size) {
        return cupsWriteRequestData(CUPS_HTTP_DEFAULT, data, size) == HTTP_STATUS_CONTINUE;
    });
    const std::string sendError = written ? "" : lastCupsError();
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str());
    if (!written || finished > IPP_STATUS_OK_EVENTS_COMPLETE) {
        base::Failure why{"printer " + queue +
                          " did not take the whole film: " + (written ? lastCupsError() : sendError)};
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.c_str(), job, 0);
        return why;
    }
    return {};
}

}  // namespace vantorel::direct_composition
