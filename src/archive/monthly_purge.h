#pragma once

#include "base/fwd.h"

#include <atomic>
#include <string>
#include <vector>

namespace vantorel::archive {

// Removes the previous calendar month's film folder below the export folder
// (<root>/yyyy/mm/dd/hhmmss.tiff), one call per tick of the purge timer.
// Each call stands alone: whatever could not be removed is tried again on the
// next. Only the dated folders below an absolute root are ever touched, never
// through a symbolic link (see removeTreeAt; the root itself may be one);
// archive rows are never touched. It may run on a worker thread: it writes no
// log itself but returns the run log's lines.
class MonthlyPurge {
public:
    explicit MonthlyPurge(const base::Clock& clock);

    // The lines for the run log: the month folder removed, what was removed
    // and what could not be; nothing when there was nothing to do. `stop`,
    // when given, ends the walk early (the program is ending).
    std::vector<std::string> run(const std::string& exportFolder, const std::atomic<bool>* stop = nullptr);

private:
    const base::Clock& clock_;
};

}  // namespace vantorel::archive
