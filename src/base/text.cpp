#include "base/text.h"

#include <cstdio>

namespace vantorel::base {

namespace {

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string trimBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string trimSpaces(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string joined(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : separator) + parts[i];
    return text;
}

std::string statusHex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFFu);
    return text;
}

bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::string loggedValue(const std::string& value)
{
    constexpr std::size_t most = 256;
    if (value.size() <= most)
        return value;
    std::size_t cut = most;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xc0) == 0x80)
        --cut;  // not inside a UTF-8 character
    return value.substr(0, cut) + "...(" + std::to_string(value.size()) + " bytes)";
}

}  // namespace vantorel::base
