#pragma once

#include "base/result.h"

#include <string>

namespace vantorel::direct_composition {

// Watches one print job that another part hands to a CUPS queue (Qt's print
// engine on the template road, printDocumentOnCups on the direct road),
// because the hand-over does not say whether CUPS queued it.
//
// Made before the job is handed over, it reads the queue: a queue that is not
// accepting jobs (cupsreject) or is stopped (cupsdisable) refuses the film
// before anything is sent, with the queue's own message. After the hand-over,
// confirmQueued() looks for the job among the queue's jobs of this user that
// are newer than every job the queue held before: a job that CUPS did not
// queue is a refusal too. Completed jobs count, so the check relies on the
// job history that CUPS keeps by default (PreserveJobHistory Yes).
//
// `queue` is a CUPS destination as Qt names it, "name" or "name/instance"
// (an instance is the same queue); `title` is the job's title as handed over
// (empty: any title).
class CupsQueueWatch {
public:
    CupsQueueWatch(const std::string& queue, std::string title);

    // Why the queue takes no job now; empty when it takes them.
    const std::string& refusal() const { return refusal_; }

    // After the hand-over: done when CUPS queued the job, else a Failure
    // saying why not.
    base::Result<void> confirmQueued() const;

private:
    std::string queue_;
    std::string name_;
    std::string title_;
    std::string refusal_;
    int newestJobBefore_ = 0;
};

}  // namespace vantorel::direct_composition
