#include "base/file_writing.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace vantorel::base {

bool writeAll(int fd, const char* data, std::size_t size, std::string& reason)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            reason = written < 0 ? std::strerror(errno) : "nothing written";
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace vantorel::base
