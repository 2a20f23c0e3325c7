#include "base/ini_file.h"

#include "base/file_writing.h"
#include "base/gbk.h"
#include "base/ini_document.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::base {

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

// Replaces the file as a whole: the new text goes into a temporary file in the
// same folder, reaches the disk, and is then renamed over the old one, so a
// crash or a full disk never leaves a half-written settings file behind. A
// file that may not be written (read-only) stays as it is.
bool writeBytes(const std::string& path, const std::string& bytes, std::string& reason)
{
    std::error_code error;
    const bool present = fs::exists(path, error);
    if (present && ::access(path.c_str(), W_OK) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    const std::string temporary = path + ".new-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    struct stat original {};
    if (present && ::stat(path.c_str(), &original) == 0)
        ::fchmod(fd, original.st_mode & 07777);
    bool complete = writeAll(fd, bytes.data(), bytes.size(), reason);
    if (complete && ::fsync(fd) != 0) {
        reason = std::strerror(errno);
        complete = false;
    }
    const bool closed = ::close(fd) == 0;
    if (complete && !closed)
        reason = std::strerror(errno);
    bool renamed = false;
    if (complete && closed) {
        renamed = ::rename(temporary.c_str(), path.c_str()) == 0;
        if (!renamed)
            reason = std::strerror(errno);
    }
    if (!renamed) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
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
    std::string reason;
    return write(section, key, value, reason);
}

bool IniFile::write(const std::string& section, const std::string& key, const std::string& value,
                    std::string& reason)
{
    std::error_code error;
    const bool present = fs::exists(path_, error);
    if (error) {
        reason = error.message();
        return false;
    }
    IniDocument document;
    if (present) {
        // A file that is there but cannot be read must not be replaced by a new one.
        errno = 0;
        const auto bytes = readBytes(path_);
        if (!bytes) {
            const int why = fs::is_directory(path_, error) ? EISDIR : errno;
            reason = why != 0 ? std::strerror(why) : "cannot be read";
            return false;
        }
        document = IniDocument::parse(*bytes);
    }
    if (!document.setValue(section, key, value)) {
        reason = "the value does not fit on one line";
        return false;
    }
    const fs::path folder = fs::path(path_).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (error) {
            reason = error.message();
            return false;
        }
    }
    return writeBytes(path_, document.bytes(), reason);
}

}  // namespace vantorel::base
