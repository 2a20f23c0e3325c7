#include "direct_composition/picture_scaling.h"

#include "base/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vantorel::direct_composition {

bool magnificationOf(const std::string& keyword, Magnification& magnification)
{
    const std::string word = base::trimSpaces(keyword);
    struct Known {
        const char* word;
        Magnification magnification;
    };
    static const Known known[] = {
        {"REPLICATE", Magnification::Replicate},
        {"BILINEAR", Magnification::Bilinear},
        {"CUBIC", Magnification::Cubic},
        {"NONE", Magnification::None},
    };
    for (const Known& k : known)
        if (word == k.word) {
            magnification = k.magnification;
            return true;
        }
    return false;
}

Picture cropPicture(const Picture& picture, int left, int top, int width, int height)
{
    if (picture.isNull())
        return {};
    const int x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(picture.width, left + width), y1 = std::min(picture.height, top + height);
    if (x1 <= x0 || y1 <= y0)
        return {};
    if (x0 == 0 && y0 == 0 && x1 == picture.width && y1 == picture.height)
        return picture;
    const int bpp = picture.bytesPerPixel();
    const std::size_t sourceRow = static_cast<std::size_t>(picture.width) * bpp;
    const std::size_t row = static_cast<std::size_t>(x1 - x0) * bpp;
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(row * (y1 - y0));
    for (int y = y0; y < y1; ++y)
        std::memcpy(pixels->data() + (y - y0) * row,
                    picture.pixels->data() + y * sourceRow + static_cast<std::size_t>(x0) * bpp, row);
    Picture cropped = picture;
    cropped.width = x1 - x0;
    cropped.height = y1 - y0;
    cropped.pixels = std::move(pixels);
    return cropped;
}

namespace {

// Keys' cubic convolution kernel with a = -0.5.
double keys(double t)
{
    t = std::abs(t);
    if (t < 1)
        return (1.5 * t - 2.5) * t * t + 1;
    if (t < 2)
        return ((-0.5 * t + 2.5) * t - 4) * t + 2;
    return 0;
}

// For each output position along one axis: the first of the four source
// samples it weighs and their weights (sample centres aligned, as
// nearest-neighbour and bilinear scaling align them).
struct Taps {
    std::vector<int> first;
    std::vector<double> weights;  // four per position
};

Taps tapsFor(int from, int to)
{
    Taps taps;
    taps.first.resize(static_cast<std::size_t>(to));
    taps.weights.resize(static_cast<std::size_t>(to) * 4);
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * step - 0.5;
        const int base = static_cast<int>(std::floor(centre)) - 1;
        taps.first[static_cast<std::size_t>(i)] = base;
        for (int k = 0; k < 4; ++k)
            taps.weights[static_cast<std::size_t>(i) * 4 + k] = keys(centre - (base + k));
    }
    return taps;
}

}  // namespace

Picture scaleBicubic(const Picture& picture, int width, int height)
{
    if (picture.isNull() || width < 1 || height < 1)
        return {};
    const int bpp = picture.bytesPerPixel();
    const int sw = picture.width, sh = picture.height;
    const Taps across = tapsFor(sw, width), down = tapsFor(sh, height);
    const auto clampIndex = [](int i, int n) { return std::clamp(i, 0, n - 1); };
    const std::uint8_t* source = picture.pixels->data();

    // Rows first, into floating point, then columns.
    std::vector<double> rows(static_cast<std::size_t>(width) * sh * bpp);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bpp; ++c) {
                double sum = 0;
                for (int k = 0; k < 4; ++k) {
                    const int sx = clampIndex(across.first[x] + k, sw);
                    sum += across.weights[static_cast<std::size_t>(x) * 4 + k] *
                        source[(static_cast<std::size_t>(y) * sw + sx) * bpp + c];
                }
                rows[(static_cast<std::size_t>(y) * width + x) * bpp + c] = sum;
            }
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(width) * height * bpp);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bpp; ++c) {
                double sum = 0;
                for (int k = 0; k < 4; ++k) {
                    const int sy = clampIndex(down.first[y] + k, sh);
                    sum += down.weights[static_cast<std::size_t>(y) * 4 + k] *
                        rows[(static_cast<std::size_t>(sy) * width + x) * bpp + c];
                }
                (*pixels)[(static_cast<std::size_t>(y) * width + x) * bpp + c] =
                    static_cast<std::uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
            }
    Picture scaled = picture;
    scaled.width = width;
    scaled.height = height;
    scaled.pixels = std::move(pixels);
    return scaled;
}

namespace {

// For each output position along one axis: the source sample at or before
// its centre and the weight, in 1/256, of the one after it.
struct LinearTaps {
    std::vector<int> first;
    std::vector<int> weight;
};

LinearTaps linearTapsFor(int from, int to)
{
    LinearTaps taps;
    taps.first.resize(static_cast<std::size_t>(to));
    taps.weight.resize(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double centre = std::clamp((i + 0.5) * step - 0.5, 0.0, double(from - 1));
        const int base = std::min(static_cast<int>(centre), from - 1);
        taps.first[static_cast<std::size_t>(i)] = base;
        taps.weight[static_cast<std::size_t>(i)] =
            base + 1 < from ? static_cast<int>(std::lround((centre - base) * 256)) : 0;
    }
    return taps;
}

Picture resized(const Picture& picture, int width, int height, std::vector<std::uint8_t> pixels)
{
    Picture scaled = picture;
    scaled.width = width;
    scaled.height = height;
    scaled.pixels = std::make_shared<const std::vector<std::uint8_t>>(std::move(pixels));
    return scaled;
}

}  // namespace

Picture scaleNearest(const Picture& picture, int width, int height)
{
    if (picture.isNull() || width < 1 || height < 1)
        return {};
    const int bpp = picture.bytesPerPixel();
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] =
            std::min(picture.width - 1, static_cast<int>((x + 0.5) * picture.width / width));
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * bpp);
    const std::size_t sourceRow = static_cast<std::size_t>(picture.width) * bpp;
    const std::size_t row = static_cast<std::size_t>(width) * bpp;
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(picture.height - 1, static_cast<int>((y + 0.5) * picture.height / height));
        const std::uint8_t* source = picture.pixels->data() + sourceRow * sy;
        std::uint8_t* out = pixels.data() + row * y;
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bpp; ++c)
                out[x * bpp + c] = source[columns[static_cast<std::size_t>(x)] * bpp + c];
    }
    return resized(picture, width, height, std::move(pixels));
}

Picture scaleBilinear(const Picture& picture, int width, int height)
{
    if (picture.isNull() || width < 1 || height < 1)
        return {};
    const int bpp = picture.bytesPerPixel();
    const LinearTaps across = linearTapsFor(picture.width, width);
    const LinearTaps down = linearTapsFor(picture.height, height);
    const std::size_t sourceRow = static_cast<std::size_t>(picture.width) * bpp;
    // Each source row across first (in 1/256), then between rows.
    std::vector<int> rows(static_cast<std::size_t>(width) * picture.height * bpp);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* source = picture.pixels->data() + sourceRow * y;
        int* out = rows.data() + static_cast<std::size_t>(width) * bpp * y;
        for (int x = 0; x < width; ++x) {
            const int sx = across.first[static_cast<std::size_t>(x)];
            const int w = across.weight[static_cast<std::size_t>(x)];
            const int nx = w ? sx + 1 : sx;
            for (int c = 0; c < bpp; ++c)
                out[x * bpp + c] = source[sx * bpp + c] * (256 - w) + source[nx * bpp + c] * w;
        }
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * bpp);
    const std::size_t row = static_cast<std::size_t>(width) * bpp;
    for (int y = 0; y < height; ++y) {
        const int sy = down.first[static_cast<std::size_t>(y)];
        const int w = down.weight[static_cast<std::size_t>(y)];
        const int* upper = rows.data() + row * sy;
        const int* lower = w ? upper + row : upper;
        std::uint8_t* out = pixels.data() + row * y;
        for (std::size_t i = 0; i < row; ++i)
            out[i] = static_cast<std::uint8_t>((upper[i] * (256 - w) + lower[i] * w + 32768) >> 16);
    }
    return resized(picture, width, height, std::move(pixels));
}

}  // namespace vantorel::direct_composition
