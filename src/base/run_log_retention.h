#pragma once

#include "base/clock.h"

#include <string>

namespace vantorel::base {

// Removes the daily run logs of <home>/LOG older than `keepDays` days before
// `today` (a log of today minus keepDays stays). Only files named like run
// logs ("2014-3-5.log") directly in LOG/ are touched, each removed relative
// to LOG/ opened without following a link; a link named like an old log is
// removed as a link, its target untouched, and a LOG/ that is a link is not
// entered. Returns how many were removed.
int removeOldRunLogs(const std::string& homeFolder, const LocalDateTime& today, int keepDays);

}  // namespace vantorel::base
