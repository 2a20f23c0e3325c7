#include "direct_composition/cups/cups_queue_watch.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vantorel::direct_composition {

namespace {

// printer-state of a stopped queue (RFC 8011).
constexpr int printerStopped = 5;

std::string lastCupsError()
{
    const char* text = cupsLastErrorString();
    return text && *text ? text : "no answer from CUPS";
}

// What CUPS says of the queue now (Get-Printer-Attributes); a class is
// found under /printers/ as well.
class QueueState {
public:
    explicit QueueState(const std::string& name)
    {
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", ippPort(),
                         "/printers/%s", name.c_str());
        ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        static const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                             "printer-state-message", "printer-state-reasons"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      static_cast<int>(std::size(wanted)), nullptr, wanted);
        response_ = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        if (response_ != nullptr && ippGetStatusCode(response_) > IPP_STATUS_OK_EVENTS_COMPLETE) {
            ippDelete(response_);
            response_ = nullptr;
        }
    }
    ~QueueState() { ippDelete(response_); }
    QueueState(const QueueState&) = delete;
    QueueState& operator=(const QueueState&) = delete;

    bool answered() const { return response_ != nullptr; }
    bool acceptingJobs() const
    {
        ipp_attribute_t* accepting = find("printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        return accepting == nullptr || ippGetBoolean(accepting, 0);
    }
    bool stopped() const
    {
        ipp_attribute_t* state = find("printer-state", IPP_TAG_ENUM);
        return state != nullptr && ippGetInteger(state, 0) == printerStopped;
    }
    // The queue's own words on its state (": out of film"), empty when none.
    std::string message() const
    {
        std::string text;
        if (ipp_attribute_t* message = find("printer-state-message", IPP_TAG_TEXT))
            text = ippGetString(message, 0, nullptr) ? ippGetString(message, 0, nullptr) : "";
        if (text.empty()) {
            if (ipp_attribute_t* reasons = find("printer-state-reasons", IPP_TAG_KEYWORD)) {
                const char* first = ippGetString(reasons, 0, nullptr);
                text = first && std::strcmp(first, "none") != 0 ? first : "";
            }
        }
        return text.empty() ? text : ": " + text;
    }

private:
    ipp_attribute_t* find(const char* name, ipp_tag_t type) const
    {
        return response_ ? ippFindAttribute(response_, name, type) : nullptr;
    }

    ipp_t* response_ = nullptr;
};

// The jobs of this user on the queue, completed ones included; false when
// CUPS did not list them.
class QueueJobs {
public:
    explicit QueueJobs(const std::string& queue)
    {
        count_ = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs_, queue.c_str(), 1, CUPS_WHICHJOBS_ALL);
    }
    ~QueueJobs() { cupsFreeJobs(std::max(count_, 0), jobs_); }
    QueueJobs(const QueueJobs&) = delete;
    QueueJobs& operator=(const QueueJobs&) = delete;

    bool listed() const { return count_ >= 0; }
    const cups_job_t* begin() const { return jobs_; }
    const cups_job_t* end() const { return jobs_ + std::max(count_, 0); }

private:
    cups_job_t* jobs_ = nullptr;
    int count_ = -1;
};

}  // namespace

CupsQueueWatch::CupsQueueWatch(const std::string& queue, std::string title)
    : queue_(queue), name_(queue.substr(0, queue.find('/'))), title_(std::move(title))
{
    const std::string printer = "printer " + queue_;
    const QueueState state(name_);
    if (!state.answered()) {
        refusal_ = "CUPS does not know " + printer + ": " + lastCupsError();
        return;
    }
    if (!state.acceptingJobs()) {
        refusal_ = printer + " is not accepting jobs" + state.message();
        return;
    }
    if (state.stopped()) {
        refusal_ = printer + " is stopped" + state.message();
        return;
    }
    const QueueJobs jobs(name_);
    if (!jobs.listed()) {
        refusal_ = "CUPS did not list the jobs of " + printer + ": " + lastCupsError();
        return;
    }
    for (const cups_job_t& job : jobs)
        newestJobBefore_ = std::max(newestJobBefore_, job.id);
}

base::Result<void> CupsQueueWatch::confirmQueued() const
{
    // What the hand-over left as CUPS's last error, before anything else here
    // replaces it.
    const bool handOverFailed = cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
    const std::string handOverError = handOverFailed ? ": " + lastCupsError() : "";

    const QueueJobs jobs(name_);
    if (!jobs.listed())
        return base::Failure{"CUPS did not list the jobs of printer " + queue_ + ": " + lastCupsError()};
    const bool queued = std::any_of(jobs.begin(), jobs.end(), [this](const cups_job_t& job) {
        return job.id > newestJobBefore_ && (title_.empty() || (job.title && title_ == job.title));
    });
    if (queued)
        return {};
    return base::Failure{"printer " + queue_ + " queued no job" + handOverError};
}

}  // namespace vantorel::direct_composition
