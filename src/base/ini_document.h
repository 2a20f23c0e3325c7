#pragma once

#include "base/text.h"

#include <optional>
#include <string>
#include <vector>

namespace vantorel::base {

// The text of one INI file, line by line, as the Windows profile functions see
// it. Every line keeps its original bytes and its own line end, so that a write
// changes exactly the line it concerns (or adds lines) and nothing else.
//
// Bytes are GBK unless the text starts with a UTF-8 byte-order mark, in which
// case they are UTF-8 and new text is written as UTF-8 as well. Names and values
// in the interface are UTF-8.
//
// Reading rules: section and key names match without regard to ASCII case and
// with surrounding blanks ignored; only the first section of a name is looked at
// and within it the first key of a name; lines starting with ";" and lines
// without "=" (outside section headers) are not keys.
class IniDocument {
public:
    IniDocument() = default;
    static IniDocument parse(const std::string& bytes);

    // The value as stored, blanks and tabs around it removed; nullopt when the
    // section or the key is missing.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;

    // Replaces the value of an existing key in place, or adds the key at the end
    // of its section, or adds the section at the end of the text. New lines end
    // with CRLF. False (and nothing changed) when the names or the value cannot
    // be written as one INI line (line breaks, "=" in a key, "]" in a section).
    [[nodiscard]] bool setValue(const std::string& section, const std::string& key, const std::string& value);

    std::string bytes() const;
    bool isUtf8() const { return utf8_; }

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string raw;  // bytes without the line end
        std::string end;  // "\r\n", "\n" or "" (last line)
        Kind kind = Kind::Other;
        std::string name;   // section or key name, UTF-8, trimmed
        std::string value;  // key value, UTF-8, trimmed
    };

    static Line parseLine(std::string raw, std::string end, bool utf8);
    std::optional<std::size_t> findSection(const std::string& section) const;
    std::optional<std::size_t> findKey(std::size_t sectionLine, const std::string& key) const;
    std::size_t endOfSection(std::size_t sectionLine) const;
    void insertLine(std::size_t position, const std::string& text);
    std::string encode(const std::string& text) const;

    bool utf8_ = false;
    std::vector<Line> lines_;
};

}  // namespace vantorel::base
