// The film PDF writer alone, in process: a STANDARD\4,5 A4 page of twenty
// 512x512 grey pictures (a body-like disc with noise on black, as CT films
// look),
// made and written to memory with each Flate level and as JPEG, against the
// console's preview of the same page. Prints milliseconds per film (wall and
// CPU of the whole process) and bytes. Not a test.
//
//   vantorel-bench-film-pdf [--films N]

#include "direct_composition/pdf/film_pdf_writer.h"
#include "direct_composition/qt/film_page_painter.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

namespace dc = vantorel::direct_composition;

namespace {

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

dc::Picture bodyPicture(int k)
{
    std::mt19937 random(k);
    std::normal_distribution<double> noise(0, 6);
    auto pixels = std::make_shared<std::vector<std::uint8_t>>(512 * 512);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const double r = std::hypot(x - 256.0, (y - 256.0) * 1.3);
            double grey = 0;
            if (r < 200)
                grey = (r < 60 ? 200 : 110 + 40 * std::sin(x / 23.0 + k) * std::cos(y / 31.0)) + noise(random);
            (*pixels)[y * 512 + x] = static_cast<std::uint8_t>(std::clamp(grey, 0.0, 255.0));
        }
    dc::Picture picture;
    picture.width = picture.height = 512;
    picture.pixels = std::move(pixels);
    return picture;
}

dc::FilmPage standardFourByFive()
{
    dc::FilmPage page;
    page.pageWidth = 11900;
    page.pageHeight = 16840;
    dc::DrawOp base;
    base.picture = dc::Picture::solid(0, 0, 0);
    base.rect = {0, 0, 11900, 16840};
    page.ops.push_back(base);
    const float cell = (11900 - 2 * 56.7f) / 4;
    for (int i = 0; i < 20; ++i) {
        dc::DrawOp op;
        op.picture = bodyPicture(i);
        op.rect = {56.7f + (i % 4) * cell, 800 + (i / 4) * cell, cell, cell};
        page.ops.push_back(op);
    }
    return page;
}

struct Timing {
    double wallMs;
    double cpuMs;
};

template <typename F>
Timing timed(int films, F&& film)
{
    film();  // warm-up
    const double cpu = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < films; ++i)
        film();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / films,
            (cpuSeconds() - cpu) * 1000 / films};
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    int films = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--films")
            films = std::max(1, std::atoi(argv[i + 1]));
    const dc::FilmPage page = standardFourByFive();
    const dc::PdfSheet sheet{595, 842, 0, 0};

    std::printf("| what | ms per film (wall) | CPU ms per film | KiB |\n|---|---|---|---|\n");
    struct Variant {
        dc::FilmImageCompression compression;
        int level;
    };
    const Variant variants[] = {{dc::FilmImageCompression::Lossless, 1}, {dc::FilmImageCompression::Lossless, 2},
                                {dc::FilmImageCompression::Lossless, 4}, {dc::FilmImageCompression::Lossless, 6},
                                {dc::FilmImageCompression::Lossless, 9}, {dc::FilmImageCompression::Jpeg, 0}};
    for (const auto [compression, level] : variants) {
        dc::FilmPdfOptions options;
        options.compression = compression;
        options.flateLevel = level;
        std::size_t bytes = 0;
        const Timing t = timed(films, [&] {
            bytes = 0;
            dc::writeFilmPdf(page, sheet, options, [&bytes](const char*, std::size_t n) {
                bytes += n;
                return true;
            });
        });
        const std::string name = compression == dc::FilmImageCompression::Jpeg
                                     ? std::string("jpeg, quality 94")
                                     : "lossless, Flate level " + std::to_string(level);
        std::printf("| FilmPdf, %s | %.1f | %.1f | %.0f |\n", name.c_str(), t.wallMs, t.cpuMs, bytes / 1024.0);
    }
    const Timing preview = timed(films, [&] { dc::renderFilmPreview(page, 1000); });
    std::printf("| console preview, 1000 px | %.1f | %.1f | |\n", preview.wallMs, preview.cpuMs);
    return 0;
}
