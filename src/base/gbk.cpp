#include "base/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace vantorel::base {

namespace {

const char* const gbkName = "GBK";
const char* const replacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// One conversion descriptor for the length of one conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can and appends the result to `out`. Returns the
    // errno that stopped it (0 when all input was converted); `in`/`left` point
    // at the byte that could not be converted.
    int convert(const char*& in, std::size_t& left, std::string& out)
    {
        char buffer[1024];
        while (left > 0) {
            char* inPtr = const_cast<char*>(in);
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &inPtr, &left, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            in = inPtr;
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (error == E2BIG)
                continue;
            return error;
        }
        return 0;
    }

    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
std::size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

bool isAscii(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Decodes `bytes` from `charset` to UTF-8; every byte that does not start a
// valid character becomes U+FFFD.
std::string decodeToUtf8(const std::string& bytes, const char* charset)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    Converter converter("UTF-8", charset);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (converter.valid() && converter.convert(in, left, out) == 0)
            break;
        // An invalid or truncated sequence: mark it and go on after its first byte.
        if (static_cast<unsigned char>(*in) < 0x80)
            out += *in;  // only without conversion tables at all
        else
            out += replacementCharacter;
        ++in;
        --left;
        if (converter.valid())
            converter.reset();
    }
    return out;
}

}  // namespace

std::string gbkToUtf8(const std::string& gbk)
{
    return isAscii(gbk) ? gbk : decodeToUtf8(gbk, gbkName);
}

std::string repairUtf8(const std::string& utf8)
{
    return isAscii(utf8) ? utf8 : decodeToUtf8(utf8, "UTF-8");
}

std::string utf8ToGbk(const std::string& utf8)
{
    if (isAscii(utf8))
        return utf8;
    std::string out;
    out.reserve(utf8.size());
    Converter converter(gbkName, "UTF-8");
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    while (left > 0) {
        if (converter.valid() && converter.convert(in, left, out) == 0)
            break;
        // A character GBK cannot hold (or bad UTF-8): one '?' for the character.
        out += static_cast<unsigned char>(*in) < 0x80 ? *in : '?';
        std::size_t skip = utf8SequenceLength(static_cast<unsigned char>(*in));
        for (std::size_t i = 1; i < skip; ++i) {
            if (i >= left || (static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
                skip = i;
                break;
            }
        }
        in += skip;
        left -= skip;
        if (converter.valid())
            converter.reset();
    }
    return out;
}

std::size_t utf8Length(const std::string& utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string utf8Left(const std::string& utf8, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == count)
                return utf8.substr(0, i);
            ++seen;
        }
    }
    return utf8;
}

}  // namespace vantorel::base
