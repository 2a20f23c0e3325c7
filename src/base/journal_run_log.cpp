#include "base/journal_run_log.h"

#include <cstdio>
#include <ostream>

namespace vantorel::base {

namespace {

std::string hexEscape(unsigned char byte)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
    return buffer;
}

// Length of the well-formed UTF-8 sequence at `at` (1 to 4), 0 when the bytes
// there are not one (stray continuation, overlong form, surrogate, cut short).
std::size_t utf8SequenceLength(const std::string& text, std::size_t at, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2, codePoint = lead & 0x1f, minimum = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3, codePoint = lead & 0x0f, minimum = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3f);
    }
    if (codePoint < minimum || codePoint > 0x10ffff || (codePoint >= 0xd800 && codePoint <= 0xdfff))
        return 0;
    return length;
}

}  // namespace

std::string journalLine(const std::string& message)
{
    std::string line;
    line.reserve(message.size());
    for (std::size_t at = 0; at < message.size();) {
        char32_t codePoint = 0;
        const std::size_t length = utf8SequenceLength(message, at, codePoint);
        if (length == 0) {
            line += hexEscape(static_cast<unsigned char>(message[at]));
            ++at;
            continue;
        }
        if (codePoint == '\n')
            line += "\\n";
        else if (codePoint == '\r')
            line += "\\r";
        else if (codePoint == '\t')
            line += "\\t";
        else if (codePoint < 0x20 || codePoint == 0x7f)
            line += hexEscape(static_cast<unsigned char>(codePoint));
        else if (codePoint >= 0x80 && codePoint <= 0x9f)  // C1 controls: their UTF-8 bytes
            line += hexEscape(static_cast<unsigned char>(message[at])) +
                hexEscape(static_cast<unsigned char>(message[at + 1]));
        else
            line.append(message, at, length);
        at += length;
    }
    return line;
}

JournalRunLog::JournalRunLog(RunLog& file, std::ostream& err) : file_(file), err_(err) {}

bool JournalRunLog::write(const std::string& message)
{
    const bool written = file_.write(message);
    // One write of the whole line, so lines from different threads never mix.
    const std::string line = journalLine(message) + "\n";
    err_.write(line.data(), static_cast<std::streamsize>(line.size()));
    err_.flush();
    return written;
}

}  // namespace vantorel::base
