#pragma once

#include "base/run_log.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vantorel::testing {

// Keeps every run log message in memory, for asserting exact log lines.
class MemoryRunLog final : public base::RunLog {
public:
    bool write(const std::string& message) override
    {
        lines.push_back(message);
        return true;
    }
    bool contains(const std::string& message) const
    {
        return std::find(lines.begin(), lines.end(), message) != lines.end();
    }
    std::vector<std::string> lines;
};

}  // namespace vantorel::testing
