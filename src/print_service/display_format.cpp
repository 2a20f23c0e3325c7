#include "print_service/display_format.h"

#include "base/run_log.h"
#include "base/text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace vantorel::print_service {

namespace {

bool containsNoCase(const std::string& text, const std::string& word)
{
    auto found = std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
    return found != text.end();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

namespace {

// Every comma-separated count of `counts`; empty when one cannot be read.
std::vector<int> lineCounts(const std::string& counts)
{
    std::vector<int> lines;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = counts.find(',', from);
        const std::size_t length = comma == std::string::npos ? std::string::npos : comma - from;
        const auto count = leadingCount(counts.substr(from, length));
        if (!count)
            return {};
        lines.push_back(*count);
        if (comma == std::string::npos)
            return lines;
        from = comma + 1;
    }
}

}  // namespace

std::optional<std::int16_t> leadingCount(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double value = 0;
    while (i < text.size() && isDigit(text[i]) && value < 1e9)
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && isDigit(text[i]))
        return std::nullopt;  // far beyond 16 bits
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    const double rounded = std::nearbyint(value);  // default rounding: halves to even
    if (rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

DecodedFormat DecodeFormat(const std::string& format, base::RunLog& log)
{
    DecodedFormat decoded;
    log.write("Format:" + base::loggedValue(format));
    if (containsNoCase(format, "ROW")) {
        decoded.r_c = "ROW";
        log.write("行自定义:" + base::loggedValue(format));
    }
    if (containsNoCase(format, "COL")) {
        decoded.r_c = "COL";
        log.write("列自定义:" + base::loggedValue(format));
    }
    const std::size_t backslash = format.find('\\');
    const std::size_t from = backslash == std::string::npos ? 0 : backslash + 1;
    const std::size_t comma = format.find(',', from);
    if (comma == std::string::npos)
        return decoded;
    decoded.X = leadingCount(format.substr(from, comma - from));
    if (decoded.X)
        decoded.Y = leadingCount(format.substr(comma + 1));
    if (decoded.decoded() && !decoded.r_c.empty())
        decoded.lines = lineCounts(format.substr(from));
    return decoded;
}

std::optional<std::string> unprintableFormat(const std::string& format, const DecodedFormat& decoded,
                                             bool directRoad)
{
    const std::size_t backslash = format.find('\\');
    std::string keyword =
        backslash == std::string::npos ? std::string() : base::trimBlanks(format.substr(0, backslash));
    for (char& c : keyword)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (keyword != "" && keyword != "STANDARD" && keyword != "ROW" && keyword != "COL")
        return "unknown format " + keyword;
    const std::string counts = backslash == std::string::npos ? format : format.substr(backslash + 1);
    const auto commas = std::count(counts.begin(), counts.end(), ',');
    if (decoded.r_c.empty()) {
        if (!decoded.decoded() || commas != 1)
            return std::string("not two counts");
        if (*decoded.X < 1 || *decoded.Y < 1)
            return std::string("a count below 1");
        if (!imageBoxCount(*decoded.X, *decoded.Y, decoded.r_c))
            return std::string("too many image boxes");
        return std::nullopt;
    }
    if (!decoded.decoded() || decoded.lines.size() != static_cast<std::size_t>(commas) + 1)
        return std::string("fewer than two counts, or a count that cannot be read");
    int boxes = 0;
    for (int line : decoded.lines) {
        if (line < 1)
            return std::string("a count below 1");
        if (line > maxLineImages)
            return "more than " + std::to_string(maxLineImages) + " images in one " +
                (decoded.r_c == "ROW" ? "row" : "column");
        boxes += line;
    }
    if (boxes > maxLineBoxes)
        return "more than " + std::to_string(maxLineBoxes) + " image boxes";
    if (!directRoad && boxes > maxTemplateLineBoxes)
        return "more than " + std::to_string(maxTemplateLineBoxes) + " image boxes on a " + decoded.r_c +
            " template";
    return std::nullopt;
}

std::optional<int> imageBoxCount(std::int16_t X, std::int16_t Y, const std::string& r_c,
                                 const std::vector<int>& lines)
{
    long count = r_c.empty() ? static_cast<long>(X) * Y : static_cast<long>(X) + Y;
    if (!r_c.empty() && !lines.empty()) {
        count = 0;
        for (int line : lines) {
            if (line < 1)
                return std::nullopt;
            count += line;
        }
    }
    if (count < 1 || count > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<int>(count);
}

}  // namespace vantorel::print_service
