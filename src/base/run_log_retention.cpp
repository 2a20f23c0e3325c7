#include "base/run_log_retention.h"

#include <cstdio>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace vantorel::base {

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long daysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The date of a run log's name, "2014-3-5.log"; false for any other name.
bool logDate(const std::string& name, int& year, int& month, int& day)
{
    char rest = 0;
    int used = 0;
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d.log%n%c", &year, &month, &day, &used, &rest) != 3)
        return false;
    if (used != static_cast<int>(name.size()) || month < 1 || month > 12 || day < 1 || day > 31 ||
        year < 1900)
        return false;
    // Written by FileRunLog::fileName: no padding.
    char canonical[32];
    std::snprintf(canonical, sizeof canonical, "%d-%d-%d.log", year, month, day);
    return name == canonical;
}

}  // namespace

int removeOldRunLogs(const std::string& homeFolder, const LocalDateTime& today, int keepDays)
{
    const int folder = ::open((homeFolder + "/LOG").c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return 0;
    DIR* entries = ::fdopendir(folder);
    if (entries == nullptr) {
        ::close(folder);
        return 0;
    }
    const long newestRemoved = daysFromCivil(today.year, today.month, today.day) - keepDays - 1;
    int removed = 0;
    while (const dirent* entry = ::readdir(entries)) {
        int year = 0, month = 0, day = 0;
        if (!logDate(entry->d_name, year, month, day) || daysFromCivil(year, month, day) > newestRemoved)
            continue;
        if (::unlinkat(::dirfd(entries), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(entries);
    return removed;
}

}  // namespace vantorel::base
