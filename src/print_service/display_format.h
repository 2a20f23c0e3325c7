#pragma once

#include "base/fwd.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_service {

// What an Image Display Format ("STANDARD\3,4", "ROW\1,2", "COL\2,1") says:
// X (first count), Y (second count) and r_c ("ROW", "COL" or empty). A count
// is missing when the text cannot be cut at "\" and ",", or when it or the
// count before it does not fit 16 bits; the caller keeps its previous value.
struct DecodedFormat {
    std::optional<std::int16_t> X;
    std::optional<std::int16_t> Y;
    std::string r_c;
    // ROW and COL: every count after the keyword, in order (ROW\\1,2,3 gives
    // 1, 2, 3); empty for STANDARD or when a count cannot be read.
    std::vector<int> lines;
    bool decoded() const { return X && Y; }
};

// Decodes `format`, logging "Format:", "行自定义:" and "列自定义:" lines.
DecodedFormat DecodeFormat(const std::string& format, base::RunLog& log);

// The number at the start of `text`: leading blanks skipped, the longest
// decimal number (digits, optional fraction) read, none gives 0, rounded half
// to even. nullopt when the result does not fit 16 bits.
[[nodiscard]] std::optional<std::int16_t> leadingCount(const std::string& text);

// Images in one row (column) of a ROW (COL) format, and image boxes in all.
inline constexpr int maxLineImages = 10;
inline constexpr int maxLineBoxes = 100;
// The template road fills at most this many slots on a ROW or COL film.
inline constexpr int maxTemplateLineBoxes = 5;

// Why a film box of Image Display Format `format` (decoded as `decoded`)
// cannot be printed; nothing when it can. Printable are STANDARD\C,R (a bare
// "C,R" is read as STANDARD) with two counts of at least 1 and an image box
// count within 16 bits, and ROW\R1,R2,... or COL\C1,C2,... with two or more
// counts, each 1..maxLineImages, at most maxLineBoxes image boxes in all (the
// keyword in any case). A template prints at most maxTemplateLineBoxes images
// of a ROW or COL film. Everything else (SLIDE, SUPERSLIDE, CUSTOM\i, an empty
// value, a keyword without counts, an unknown keyword) is refused: a film box
// is never laid out from anything but its own format.
[[nodiscard]] std::optional<std::string> unprintableFormat(const std::string& format,
                                                           const DecodedFormat& decoded, bool directRoad);

// Image boxes of a film box: X * Y for STANDARD; for ROW and COL the sum of
// `lines`, or X + Y when they are not given. nullopt when the count is not
// positive or does not fit 16 bits.
[[nodiscard]] std::optional<int> imageBoxCount(std::int16_t X, std::int16_t Y, const std::string& r_c,
                                               const std::vector<int>& lines = {});

}  // namespace vantorel::print_service
