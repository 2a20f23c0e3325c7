#pragma once

#include <string>

namespace vantorel::console {
class Clock;
class RunLog;
}  // namespace vantorel::console

namespace vantorel::archive {

class FilmFolders;

// Removes the previous calendar month's film folder below the export folder
// (<root>/yyyy/mm/dd/hhmmss.tiff), one call per tick of the purge timer.
// Each call stands alone: whatever could not be removed is tried again on the
// next. Only the dated folders below an absolute root are ever touched;
// archive rows are never touched.
class MonthlyPurge {
public:
    MonthlyPurge(const console::Clock& clock, FilmFolders& folders, console::RunLog& log);

    void run(const std::string& exportFolder);

private:
    const console::Clock& clock_;
    FilmFolders& folders_;
    console::RunLog& log_;
};

}  // namespace vantorel::archive
