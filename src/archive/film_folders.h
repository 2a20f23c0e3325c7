#pragma once

#include <string>

namespace vantorel::archive {

// What lies at a path, seen without following a symbolic link.
enum class EntryKind { Missing, Folder, Link, Other };

// The file operations of the monthly purge. Every removal skips what it
// cannot remove and goes on; none follows a symbolic link: a link is removed
// as a link and its target stays untouched.
class FilmFolders {
public:
    virtual ~FilmFolders() = default;
    virtual EntryKind kind(const std::string& path) const = 0;
    // A folder, or a link to one (the configured root may be a link).
    virtual bool isFolder(const std::string& path) const = 0;
    // Removes the files and links directly inside `folder` that are not
    // read-only; sub-folders stay.
    virtual void removeFilesIn(const std::string& folder) = 0;
    // Removes `path` and everything below it, except read-only files and
    // so the folders that hold them.
    virtual void removeTree(const std::string& path) = 0;
};

// The real file system (std::filesystem).
class DiskFilmFolders final : public FilmFolders {
public:
    EntryKind kind(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;
    void removeFilesIn(const std::string& folder) override;
    void removeTree(const std::string& path) override;
};

}  // namespace vantorel::archive
