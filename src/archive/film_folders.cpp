#include "archive/film_folders.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace vantorel::archive {

namespace fs = std::filesystem;

namespace {

// Read-only as the workstation's shell sees it: the owner may not write. A
// privileged process could remove it anyway; the purge leaves it, as it
// never forces the removal of a read-only item.
bool readOnly(const fs::file_status& status)
{
    return (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

std::vector<fs::directory_entry> entriesOf(const fs::path& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(*it);
    return entries;
}

}  // namespace

EntryKind DiskFilmFolders::kind(const std::string& path) const
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    switch (status.type()) {
    case fs::file_type::not_found:
    case fs::file_type::none:
        return EntryKind::Missing;
    case fs::file_type::directory:
        return EntryKind::Folder;
    case fs::file_type::symlink:
        return EntryKind::Link;
    default:
        return error ? EntryKind::Missing : EntryKind::Other;
    }
}

bool DiskFilmFolders::isFolder(const std::string& path) const
{
    std::error_code error;
    return fs::is_directory(path, error);
}

void DiskFilmFolders::removeFilesIn(const std::string& folder)
{
    for (const fs::directory_entry& entry : entriesOf(folder)) {
        std::error_code error;
        const fs::file_status status = entry.symlink_status(error);
        if (error || fs::is_directory(status))
            continue;
        if (fs::is_symlink(status) || !readOnly(status))
            fs::remove(entry.path(), error);
    }
}

void DiskFilmFolders::removeTree(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error)
        return;
    if (fs::is_directory(status)) {
        for (const fs::directory_entry& entry : entriesOf(path))
            removeTree(entry.path().string());
    } else if (!fs::is_symlink(status) && readOnly(status)) {
        return;
    }
    // A folder that still holds something stays.
    fs::remove(path, error);
}

}  // namespace vantorel::archive
