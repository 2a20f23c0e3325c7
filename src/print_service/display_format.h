#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantorel::console {
class RunLog;
}

namespace vantorel::print_service {

// What an Image Display Format ("STANDARD\3,4", "ROW\1,2", "COL\2,1") says:
// X (first count), Y (second count) and r_c ("ROW", "COL" or empty). A count
// is missing when the text cannot be cut at "\" and ",", or when it or the
// count before it does not fit 16 bits; the caller keeps its previous value.
struct DecodedFormat {
    std::optional<std::int16_t> X;
    std::optional<std::int16_t> Y;
    std::string r_c;
    bool decoded() const { return X && Y; }
};

// Decodes `format`, logging "Format:", "行自定义:" and "列自定义:" lines.
DecodedFormat DecodeFormat(const std::string& format, console::RunLog& log);

// The number at the start of `text`: leading blanks skipped, the longest
// decimal number (digits, optional fraction) read, none gives 0, rounded half
// to even. nullopt when the result does not fit 16 bits.
std::optional<std::int16_t> leadingCount(const std::string& text);

// Why a film box of Image Display Format `format` (decoded as `decoded`)
// cannot be printed; nothing when it can. Printable are STANDARD\C,R and
// ROW\a,b or COL\a,b (the keyword in any case; a bare "C,R" is read as
// STANDARD), with two counts of at least 1 and an image box count within 16
// bits. On the direct road ROW and COL print only as (1,2), (2,1), (2,3) and
// (3,2); a template may hold other pairs. Everything else (SLIDE,
// SUPERSLIDE, CUSTOM\i, an empty value, a keyword without counts, more or
// fewer counts, an unknown keyword) is refused: a film box is never laid out
// from anything but its own format.
std::optional<std::string> unprintableFormat(const std::string& format, const DecodedFormat& decoded,
                                             bool directRoad);

// Image boxes of a film box: X + Y for ROW and COL layouts, X * Y otherwise.
// nullopt when the count is not positive or does not fit 16 bits.
std::optional<int> imageBoxCount(std::int16_t X, std::int16_t Y, const std::string& r_c);

}  // namespace vantorel::print_service
