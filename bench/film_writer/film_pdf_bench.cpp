// The film PDF writer alone, in process: a STANDARD\4,5 A4 page of twenty
// 512x512 grey pictures (a body-like disc with noise on black, as CT films
// look),
// made and written to memory with each Flate level and as JPEG, against the
// console's preview of the same page. Prints milliseconds per film (wall and
// CPU of the whole process) and bytes. Not a test.
//
//   vantorel-bench-film-pdf [--films N]

#include "../bench_figures.h"

#include "direct_composition/pdf/film_pdf_writer.h"
#include "direct_composition/qt/film_page_painter.h"

#include <QGuiApplication>

#ifdef VANTOREL_BENCH_CAIRO
#include <cairo-pdf.h>
#include <cairo.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

namespace dc = vantorel::direct_composition;

namespace {

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
                grey =
                    (r < 60 ? 200 : 110 + 40 * std::sin(x / 23.0 + k) * std::cos(y / 31.0)) + noise(random);
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

#ifdef VANTOREL_BENCH_CAIRO
// The same page through cairo's PDF surface: each grey picture as a 32-bit
// image surface (cairo has no 8-bit grey format but alpha), scaled onto its
// rectangle; returns the PDF's bytes, or writes it to `path` when given.
std::size_t cairoFilm(const dc::FilmPage& page, const char* path = nullptr)
{
    std::size_t bytes = 0;
    cairo_surface_t* pdf = path ? cairo_pdf_surface_create(path, 595, 842)
                                : cairo_pdf_surface_create_for_stream(
                                      [](void* closure, const unsigned char*, unsigned int length) {
                                          *static_cast<std::size_t*>(closure) += length;
                                          return CAIRO_STATUS_SUCCESS;
                                      },
                                      &bytes, 595, 842);
    cairo_t* cr = cairo_create(pdf);
    cairo_scale(cr, 1 / 20.0, 1 / 20.0);  // twips
    for (const dc::DrawOp& op : page.ops) {
        if (op.picture.width == 1) {
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_rectangle(cr, op.rect.x, op.rect.y, op.rect.width, op.rect.height);
            cairo_fill(cr);
            continue;
        }
        const int w = op.picture.width, h = op.picture.height;
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t g = (*op.picture.pixels)[static_cast<std::size_t>(y) * w + x];
                reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = g << 16 | g << 8 | g;
            }
        cairo_surface_mark_dirty(image);
        cairo_save(cr);
        cairo_translate(cr, op.rect.x, op.rect.y);
        cairo_scale(cr, op.rect.width / w, op.rect.height / h);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(image);
    }
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    cairo_surface_destroy(pdf);
    return bytes;
}
#endif

struct Timing {
    double wallMs;
    double cpuMs;
};

template <typename F> Timing timed(int films, F&& film)
{
    film();  // warm-up
    const double cpu = vantorel::bench::ownCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < films; ++i)
        film();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
                films,
            (vantorel::bench::ownCpuSeconds() - cpu) * 1000 / films};
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
    const Variant variants[] = {
        {dc::FilmImageCompression::Lossless, 1}, {dc::FilmImageCompression::Lossless, 2},
        {dc::FilmImageCompression::Lossless, 4}, {dc::FilmImageCompression::Lossless, 6},
        {dc::FilmImageCompression::Lossless, 9}, {dc::FilmImageCompression::Jpeg, 0}};
    for (const auto [compression, level] : variants) {
        dc::FilmPdfOptions options;
        options.compression = compression;
        options.flateLevel = level;
        std::size_t bytes = 0;
        const Timing t = timed(films, [&] {
            bytes = 0;
            const bool written = dc::writeFilmPdf(page, sheet, options, [&bytes](const char*, std::size_t n) {
                bytes += n;
                return true;
            });
            if (!written) {
                std::fprintf(stderr, "film PDF not written\n");
                std::exit(1);
            }
        });
        const std::string name = compression == dc::FilmImageCompression::Jpeg
            ? std::string("jpeg, quality 94")
            : "lossless, Flate level " + std::to_string(level);
        std::printf("| FilmPdf, %s | %.1f | %.1f | %.0f |\n", name.c_str(), t.wallMs, t.cpuMs,
                    bytes / 1024.0);
    }
#ifdef VANTOREL_BENCH_CAIRO
    std::size_t cairoBytes = 0;
    const Timing cairo = timed(films, [&] { cairoBytes = cairoFilm(page); });
    std::printf("| cairo's PDF surface | %.1f | %.1f | %.0f |\n", cairo.wallMs, cairo.cpuMs,
                cairoBytes / 1024.0);
    if (const char* keep = std::getenv("VANTOREL_BENCH_CAIRO_PDF"))
        cairoFilm(page, keep);  // for pdfimages -list
#endif
    const Timing preview = timed(films, [&] { dc::renderFilmPreview(page, 1000); });
    std::printf("| console preview, 1000 px | %.1f | %.1f | |\n", preview.wallMs, preview.cpuMs);
    return 0;
}
