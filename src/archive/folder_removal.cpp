#include "archive/folder_removal.h"

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::archive {

namespace {

constexpr std::size_t failuresKept = 10;

using Identity = std::pair<dev_t, ino_t>;

Identity identityOf(const struct stat& status)
{
    return {status.st_dev, status.st_ino};
}

void fail(RemovalReport& report, const std::string& name, int error)
{
    if (report.failures.size() < failuresKept)
        report.failures.push_back(name + ": " + std::strerror(error));
    ++report.failureCount;
}

bool readOnly(const struct stat& status)
{
    return (status.st_mode & S_IWUSR) == 0;
}

// One folder being emptied: its name in the folder above and who it is.
struct Level {
    std::string name;
    Identity identity;
};

}  // namespace

RemovalReport removeTreeAt(int parentFd, const std::string& name, const std::atomic<bool>* stop)
{
    RemovalReport report;
    struct stat status {};
    if (::fstatat(parentFd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            fail(report, name, errno);
        return report;
    }
    if (!S_ISDIR(status.st_mode)) {
        if (!S_ISLNK(status.st_mode) && readOnly(status))
            ++report.kept;
        else if (::unlinkat(parentFd, name.c_str(), 0) == 0)
            ++report.files;
        else
            fail(report, name, errno);
        return report;
    }

    const int top = ::dup(parentFd);
    if (top < 0) {
        fail(report, name, errno);
        return report;
    }
    std::vector<Level> levels;    // from the folder below `top` down to the current one
    std::set<Identity> finished;  // folders emptied as far as they can be
    std::set<Identity> kept;      // read-only files seen (a folder may be read again)
    int current = -1;             // the folder being read
    std::string path = name;      // for the failure lines

    // Enters `child` of the folder open as `from`; false when it is not a folder any more.
    const auto enter = [&](int from, const std::string& child) {
        const int fd = ::openat(from, child.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat entered {};
        if (::fstat(fd, &entered) != 0) {
            ::close(fd);
            return -1;
        }
        levels.push_back({child, identityOf(entered)});
        return fd;
    };

    current = enter(top, name);
    if (current < 0) {
        fail(report, name, errno);
        ::close(top);
        return report;
    }
    while (current >= 0) {
        if (stop != nullptr && stop->load()) {
            report.stopped = true;
            break;
        }
        // The next entry still to deal with in the current folder.
        DIR* folder = ::fdopendir(::dup(current));
        if (folder == nullptr) {
            fail(report, path, errno);
            break;
        }
        ::rewinddir(folder);
        std::string descend;
        while (const dirent* entry = ::readdir(folder)) {
            const std::string entryName = entry->d_name;
            if (entryName == "." || entryName == "..")
                continue;
            struct stat entryStatus {};
            if (::fstatat(current, entryName.c_str(), &entryStatus, AT_SYMLINK_NOFOLLOW) != 0)
                continue;  // gone meanwhile
            if (S_ISDIR(entryStatus.st_mode)) {
                if (finished.count(identityOf(entryStatus)) == 0) {
                    descend = entryName;
                    break;
                }
                continue;
            }
            if (!S_ISLNK(entryStatus.st_mode) && readOnly(entryStatus)) {
                kept.insert(identityOf(entryStatus));
                continue;
            }
            if (::unlinkat(current, entryName.c_str(), 0) == 0)
                ++report.files;
            else
                fail(report, path + "/" + entryName, errno);
            if (stop != nullptr && stop->load())
                break;
        }
        ::closedir(folder);
        if (!descend.empty()) {
            const int child = enter(current, descend);
            if (child < 0) {
                // Not a folder any more (swapped for a link or a file): it is
                // dealt with as an entry at the next look.
                continue;
            }
            ::close(current);
            current = child;
            path += "/" + descend;
            continue;
        }

        // The folder is as empty as it gets: climb back and remove it.
        const Level done = levels.back();
        levels.pop_back();
        finished.insert(done.identity);
        int parent = -1;
        if (levels.empty()) {
            parent = ::dup(top);
        } else {
            parent = ::openat(current, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            struct stat parentStatus {};
            if (parent >= 0 &&
                (::fstat(parent, &parentStatus) != 0 || identityOf(parentStatus) != levels.back().identity)) {
                // Moved away meanwhile: the walk ends rather than go astray.
                fail(report, path + "/..", EXDEV);
                ::close(parent);
                parent = -1;
            }
        }
        ::close(current);
        current = -1;
        if (parent < 0)
            break;
        struct stat named {};
        // Only the very folder that was emptied, still under its name.
        if (::fstatat(parent, done.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(named.st_mode) && identityOf(named) == done.identity) {
            if (::unlinkat(parent, done.name.c_str(), AT_REMOVEDIR) == 0)
                ++report.folders;
            else if (errno != ENOTEMPTY && errno != EEXIST)
                fail(report, path, errno);
        }
        path = path.substr(0, path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
        if (levels.empty()) {
            ::close(parent);
            break;
        }
        current = parent;
    }
    if (current >= 0)
        ::close(current);
    ::close(top);
    report.kept += kept.size();
    return report;
}

}  // namespace vantorel::archive
