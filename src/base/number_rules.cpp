#include "base/number_rules.h"

#include "base/ini_document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vantorel::base {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(const std::string& text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Length of the number at the start of `text`: optional sign, digits, optional
// "." and digits (at least one digit in all); with `exponent`, an optional
// "e"/"E", sign and digits. 0 when no number starts there.
std::size_t numberLength(const std::string& text, bool exponent)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const std::size_t intStart = at;
    at = skipDigits(text, at);
    std::size_t digits = at - intStart;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = skipDigits(text, at + 1);
        digits += fractionEnd - (at + 1);
        if (digits > 0)
            at = fractionEnd;
    }
    if (digits == 0)
        return 0;
    if (exponent && at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t e = at + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-'))
            ++e;
        const std::size_t eEnd = skipDigits(text, e);
        if (eEnd > e)
            at = eEnd;
    }
    return at;
}

// For a number out of the double range: whether it is too close to zero
// rather than too large (no non-zero digit before the point, or a negative
// exponent).
bool tooSmall(const std::string& digits)
{
    const std::size_t exponent = digits.find_first_of("eE");
    if (exponent != std::string::npos && digits.compare(exponent + 1, 1, "-") == 0)
        return true;
    const std::string whole = digits.substr(0, std::min(exponent, digits.find('.')));
    return whole.find_first_not_of('0') == std::string::npos;
}

// The number in text[0, length), parsed without regard to the C locale.
double parseNumber(const std::string& text, std::size_t length)
{
    std::size_t at = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        at = 1;
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + length, value);
    if (result.ec == std::errc::result_out_of_range)
        value = tooSmall(text.substr(at, length - at)) ? 0.0 : std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

template <typename Int> std::optional<Int> toWhole(double value)
{
    const double rounded = roundHalfEven(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<Int>::min() ||
        rounded > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(rounded);
}

// The whole trimmed text as a number; nullopt when it is not one.
std::optional<double> wholeText(const std::string& text)
{
    const std::string trimmed = trimBlanks(text);
    const std::size_t length = numberLength(trimmed, true);
    if (length == 0 || length != trimmed.size())
        return std::nullopt;
    return parseNumber(trimmed, length);
}

}  // namespace

double leadingNumber(const std::string& text)
{
    const std::string trimmed = trimBlanks(text);
    const std::size_t length = numberLength(trimmed, false);
    return length == 0 ? 0.0 : parseNumber(trimmed, length);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5)
        return floor;
    if (fraction > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<std::int16_t> numberAsInt16(const std::string& text)
{
    return toWhole<std::int16_t>(leadingNumber(text));
}

std::optional<std::int16_t> wholeNumber(const std::string& text)
{
    const auto value = wholeText(text);
    return value ? toWhole<std::int16_t>(*value) : std::nullopt;
}

std::optional<std::int32_t> wholeNumberAsInt32(const std::string& text)
{
    const auto value = wholeText(text);
    return value ? toWhole<std::int32_t>(*value) : std::nullopt;
}

std::string numberText(double value)
{
    if (!std::isfinite(value))
        return "0";
    if (value == 0)
        return "0";  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace vantorel::base
