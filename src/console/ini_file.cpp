#include "console/ini_file.h"

#include "console/gbk.h"
#include "console/ini_document.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace vantorel::console {

namespace fs = std::filesystem;

namespace {

// The whole file, or nullopt when it is missing or cannot be read.
std::optional<std::string> readBytes(const std::string& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// A stored value in matching single or double quotes loses them, as the
// profile read does it.
std::string unquoted(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string profileText(const std::string& text)
{
    return utf8Left(trimBlanks(text), IniFile::maxValueLength);
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::exists() const
{
    std::error_code error;
    return fs::is_regular_file(path_, error);
}

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& def) const
{
    const auto bytes = readBytes(path_);
    if (!bytes)
        return profileText(def);
    const auto value = IniDocument::parse(*bytes).value(section, key);
    return profileText(value ? unquoted(*value) : def);
}

bool IniFile::write(const std::string& section, const std::string& key, const std::string& value)
{
    std::error_code error;
    const bool present = fs::exists(path_, error);
    if (error)
        return false;
    IniDocument document;
    if (present) {
        // A file that is there but cannot be read must not be replaced by a new one.
        const auto bytes = readBytes(path_);
        if (!bytes)
            return false;
        document = IniDocument::parse(*bytes);
    }
    if (!document.setValue(section, key, value))
        return false;
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (error)
            return false;
    }
    return writeBytes(path_, document.bytes());
}

}  // namespace vantorel::console
