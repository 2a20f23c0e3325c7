#include "archive/monthly_purge.h"

#include "archive/film_folders.h"
#include "console/clock.h"
#include "console/run_log.h"

#include <cstdio>

namespace vantorel::archive {

namespace {

std::string digits(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string below(const std::string& folder, const std::string& name) { return folder + "/" + name; }

}  // namespace

MonthlyPurge::MonthlyPurge(const console::Clock& clock, FilmFolders& folders, console::RunLog& log)
    : clock_(clock), folders_(folders), log_(log)
{
}

void MonthlyPurge::run(const std::string& exportFolder)
{
    // An empty or relative root would name a folder that depends on where
    // the program was started: nothing is purged there.
    if (exportFolder.empty() || exportFolder.front() != '/' || !folders_.isFolder(exportFolder))
        return;
    std::string root = exportFolder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    const console::LocalDateTime today = clock_.now();

    // January's previous month is December of the previous year, purged only
    // once the current year's folder exists. Year folders that are links lead
    // outside the root and are not followed.
    const std::string yearFolder = below(root, digits(today.year, 4));
    if (folders_.kind(yearFolder) != EntryKind::Folder)
        return;
    std::string parent = yearFolder;
    std::string month = digits(today.month - 1, 2);
    if (today.month == 1) {
        month = "12";
        parent = below(root, digits(today.year - 1, 4));
        if (folders_.kind(parent) != EntryKind::Folder)
            return;
    }

    const std::string monthFolder = below(parent, month);
    const EntryKind monthKind = folders_.kind(monthFolder);
    if (monthKind == EntryKind::Missing || monthKind == EntryKind::Other)
        return;
    if (monthKind == EntryKind::Folder) {
        for (int day = 1; day <= 31; ++day) {
            const std::string dayFolder = below(monthFolder, digits(day, 2));
            if (folders_.kind(dayFolder) == EntryKind::Folder)
                folders_.removeFilesIn(dayFolder);
        }
    }
    folders_.removeTree(monthFolder);
    if (folders_.kind(monthFolder) == EntryKind::Missing)
        log_.write("清除上月胶片文件夹" + monthFolder);
}

}  // namespace vantorel::archive
