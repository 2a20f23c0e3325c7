#pragma once

#include <cstddef>
#include <string>

namespace vantorel::base {

// Writes all `size` bytes to the open file `fd`, going on after short writes
// and interruptions; false with the system's words in `reason` (e.g. "No
// space left on device") when a write fails.
[[nodiscard]] bool writeAll(int fd, const char* data, std::size_t size, std::string& reason);

}  // namespace vantorel::base
