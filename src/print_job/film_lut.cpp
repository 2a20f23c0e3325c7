#include "print_job/film_lut.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantorel::print_job {

const FilmLutTable& filmLut()
{
    static const FilmLutTable table = [] {
        static const int base[45] = {
            0,   48,  50,  52,  55,  59,  64,  66,  67,  70,  72,  75,  77,  81,  83,
            88,  91,  94,  96,  97,  101, 104, 110, 113, 117, 125, 129, 131, 137, 141,
            146, 150, 155, 160, 165, 170, 175, 180, 192, 202, 208, 214, 220, 226, 255,
        };
        FilmLutTable entries{};
        for (int n = 0; n < 45; ++n)
            entries[n] = 256 * base[n];
        return entries;
    }();
    return table;
}

direct_composition::Picture applyFilmLut(const direct_composition::Picture& picture, const FilmLutTable& lut)
{
    if (picture.isNull())
        return picture;
    std::array<std::uint8_t, 256> levels{};
    const int last = static_cast<int>(lut.size()) - 1;
    for (int v = 0; v < 256; ++v) {
        const double position = v * static_cast<double>(last) / 255.0;
        const int i = std::min(static_cast<int>(position), last - 1);
        const double fraction = position - i;
        const double value = lut[i] + fraction * (lut[i + 1] - lut[i]);
        levels[v] = static_cast<std::uint8_t>(std::clamp(std::lround(value / 256.0), 0L, 255L));
    }
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(*picture.pixels);
    for (auto& p : *pixels)
        p = levels[p];
    direct_composition::Picture mapped = picture;
    mapped.pixels = std::move(pixels);
    return mapped;
}

}  // namespace vantorel::print_job
