#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace vantorel::archive {

// What a removal did, for one summary line, and what it could not do.
struct RemovalReport {
    std::size_t files = 0;              // files and links removed
    std::size_t folders = 0;            // folders removed
    std::size_t kept = 0;               // read-only files left, with the folders holding them
    std::vector<std::string> failures;  // "<name>: <system's reason>", the first few
    std::size_t failureCount = 0;
    bool stopped = false;  // asked to stop before it was done
};

// Removes the entry `name` of the folder open as `parentFd`, and everything
// below it, without ever following a symbolic link: each folder is opened
// relative to the one above it with O_NOFOLLOW | O_DIRECTORY, every entry is
// looked at and removed relative to its folder's descriptor, and no path is
// resolved again after it was checked, so a folder swapped for a link while
// the removal runs cannot lead outside. A link is removed as a link. A
// read-only file stays, and so do the folders that hold it. The walk keeps
// one folder open at a time (it climbs back through "..", checking it is the
// folder it came from), so any depth works with a bounded number of
// descriptors. `stop`, when given, is looked at between entries.
RemovalReport removeTreeAt(int parentFd, const std::string& name, const std::atomic<bool>* stop = nullptr);

}  // namespace vantorel::archive
