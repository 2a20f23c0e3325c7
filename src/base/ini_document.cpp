#include "base/ini_document.h"

#include "base/gbk.h"

namespace vantorel::base {

namespace {

const std::string utf8Bom = "\xEF\xBB\xBF";
const std::string newLineEnd = "\r\n";

bool hasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

bool isBlankLine(const std::string& raw)
{
    return trimBlanks(raw).empty();
}

}  // namespace

IniDocument IniDocument::parse(const std::string& bytes)
{
    IniDocument document;
    std::size_t start = 0;
    if (bytes.compare(0, utf8Bom.size(), utf8Bom) == 0) {
        document.utf8_ = true;
        start = utf8Bom.size();
    }
    while (start < bytes.size()) {
        const std::size_t newline = bytes.find('\n', start);
        std::string raw;
        std::string end;
        if (newline == std::string::npos) {
            raw = bytes.substr(start);
            start = bytes.size();
        } else {
            raw = bytes.substr(start, newline - start);
            end = "\n";
            start = newline + 1;
        }
        if (!end.empty() && !raw.empty() && raw.back() == '\r') {
            raw.pop_back();
            end = newLineEnd;
        }
        document.lines_.push_back(parseLine(std::move(raw), std::move(end), document.utf8_));
    }
    return document;
}

IniDocument::Line IniDocument::parseLine(std::string raw, std::string end, bool utf8)
{
    Line line;
    const std::string text = trimBlanks(utf8 ? repairUtf8(raw) : gbkToUtf8(raw));
    line.raw = std::move(raw);
    line.end = std::move(end);
    if (text.empty() || text[0] == ';')
        return line;
    if (text[0] == '[') {
        const auto close = text.rfind(']');
        if (close != std::string::npos) {
            line.kind = Kind::Section;
            line.name = trimBlanks(text.substr(1, close - 1));
        }
        return line;
    }
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        return line;
    line.kind = Kind::Key;
    line.name = trimBlanks(text.substr(0, equals));
    line.value = trimBlanks(text.substr(equals + 1));
    return line;
}

std::optional<std::size_t> IniDocument::findSection(const std::string& section) const
{
    const std::string wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && equalsIgnoringAsciiCase(lines_[i].name, wanted))
            return i;
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findKey(std::size_t sectionLine, const std::string& key) const
{
    const std::string wanted = trimBlanks(key);
    for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key && equalsIgnoringAsciiCase(lines_[i].name, wanted))
            return i;
    return std::nullopt;
}

// Position just after the last non-blank line of the section, so that blank
// lines separating it from the next section stay where they are.
std::size_t IniDocument::endOfSection(std::size_t sectionLine) const
{
    std::size_t end = sectionLine + 1;
    for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (!isBlankLine(lines_[i].raw))
            end = i + 1;
    return end;
}

std::optional<std::string> IniDocument::value(const std::string& section, const std::string& key) const
{
    const auto sectionLine = findSection(section);
    if (!sectionLine)
        return std::nullopt;
    const auto keyLine = findKey(*sectionLine, key);
    if (!keyLine)
        return std::nullopt;
    return lines_[*keyLine].value;
}

std::string IniDocument::encode(const std::string& text) const
{
    return utf8_ ? repairUtf8(text) : utf8ToGbk(text);
}

void IniDocument::insertLine(std::size_t position, const std::string& text)
{
    // The line before it may be the last line of a file without a final line end.
    if (position > 0 && lines_[position - 1].end.empty())
        lines_[position - 1].end = newLineEnd;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  parseLine(encode(text), newLineEnd, utf8_));
}

bool IniDocument::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string sectionName = trimBlanks(section);
    const std::string keyName = trimBlanks(key);
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value))
        return false;
    if (sectionName.find(']') != std::string::npos || keyName.empty() ||
        keyName.find('=') != std::string::npos || keyName[0] == ';' || keyName[0] == '[')
        return false;

    const auto sectionLine = findSection(sectionName);
    if (!sectionLine) {
        if (!lines_.empty() && !isBlankLine(lines_.back().raw))
            insertLine(lines_.size(), "");
        insertLine(lines_.size(), "[" + sectionName + "]");
        insertLine(lines_.size(), keyName + "=" + value);
        return true;
    }
    if (const auto keyLine = findKey(*sectionLine, keyName)) {
        Line& line = lines_[*keyLine];
        line = parseLine(encode(line.name + "=" + value), line.end, utf8_);
        return true;
    }
    insertLine(endOfSection(*sectionLine), keyName + "=" + value);
    return true;
}

std::string IniDocument::bytes() const
{
    std::string out = utf8_ ? utf8Bom : std::string();
    for (const Line& line : lines_)
        out += line.raw + line.end;
    return out;
}

}  // namespace vantorel::base
