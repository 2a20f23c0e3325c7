#pragma once

#include <cstddef>
#include <string>

namespace vantorel::base {

// One INI file on disk, read and written the way the Windows private-profile
// functions do it (see ini_document.h for the text rules). GBK on disk, UTF-8
// in memory. Every call reads the file afresh; nothing is cached.
class IniFile {
public:
    // Values longer than this many characters are cut (the profile read's
    // 255-character buffer holds 254 and the terminator).
    static constexpr std::size_t maxValueLength = 254;

    explicit IniFile(std::string path);

    // The stored value, or `def` when the file, section or key is missing;
    // either way with blanks and tabs removed at both ends and cut to
    // maxValueLength characters. A stored value in matching quotes ("..." or
    // '...') loses the quotes. Never fails; an unreadable file counts as missing.
    std::string read(const std::string& section, const std::string& key, const std::string& def) const;

    // Creates the file's folders, the file, section and key as needed and sets
    // the value; every other line keeps its bytes. False when the file cannot
    // be read or written, or the names or value do not fit on one INI line.
    [[nodiscard]] bool write(const std::string& section, const std::string& key, const std::string& value);
    // The same; when it fails, `reason` has the system's words.
    [[nodiscard]] bool write(const std::string& section, const std::string& key, const std::string& value,
                             std::string& reason);

    bool exists() const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Trimmed and cut to IniFile::maxValueLength characters, as a profile read returns text.
std::string profileText(const std::string& text);

}  // namespace vantorel::base
