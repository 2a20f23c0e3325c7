#include "archive/monthly_purge.h"

#include "archive/folder_removal.h"
#include "base/clock.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::archive {

namespace {

std::string digits(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// A folder below the one open as `parentFd`, never through a link; -1 when
// there is none.
int openFolder(int parentFd, const std::string& name)
{
    return ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace

MonthlyPurge::MonthlyPurge(const base::Clock& clock) : clock_(clock) {}

std::vector<std::string> MonthlyPurge::run(const std::string& exportFolder, const std::atomic<bool>* stop)
{
    std::vector<std::string> lines;
    // An empty or relative root would name a folder that depends on where
    // the program was started: nothing is purged there.
    if (exportFolder.empty() || exportFolder.front() != '/')
        return lines;
    std::string root = exportFolder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    const Descriptor rootFd(
        ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));  // the root may be a link
    if (!rootFd.open())
        return lines;
    const base::LocalDateTime today = clock_.now();

    // January's previous month is December of the previous year, purged only
    // once the current year's folder exists. Year folders that are links lead
    // outside the root and are not followed.
    const Descriptor yearFd(openFolder(rootFd.get(), digits(today.year, 4)));
    if (!yearFd.open())
        return lines;
    std::string parentPath = root + "/" + digits(today.year, 4);
    std::string month = digits(today.month - 1, 2);
    const Descriptor lastYearFd(today.month == 1 ? openFolder(rootFd.get(), digits(today.year - 1, 4)) : -1);
    if (today.month == 1) {
        if (!lastYearFd.open())
            return lines;
        month = "12";
        parentPath = root + "/" + digits(today.year - 1, 4);
    }
    const int parentFd = today.month == 1 ? lastYearFd.get() : yearFd.get();

    struct stat status {};
    if (::fstatat(parentFd, month.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return lines;
    if (!S_ISDIR(status.st_mode) && !S_ISLNK(status.st_mode))
        return lines;  // a file of that name is none of the purge's business
    const std::string monthPath = parentPath + "/" + month;
    const RemovalReport report = removeTreeAt(parentFd, month, stop);
    if (report.files + report.folders > 0)
        lines.push_back(
            "上月胶片清除统计：" + monthPath + "：删除文件" + std::to_string(report.files) + "个、文件夹" +
            std::to_string(report.folders) + "个" +
            (report.kept > 0 ? "，保留只读文件" + std::to_string(report.kept) + "个" : std::string()));
    for (const std::string& failure : report.failures)
        lines.push_back("清除上月胶片未能删除：" + failure);
    if (report.failureCount > report.failures.size())
        lines.push_back("清除上月胶片未能删除：另有" +
                        std::to_string(report.failureCount - report.failures.size()) + "项");
    if (::fstatat(parentFd, month.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
        lines.push_back("清除上月胶片文件夹" + monthPath);
    return lines;
}

}  // namespace vantorel::archive
