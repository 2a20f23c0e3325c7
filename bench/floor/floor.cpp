// The floor for the film writer: Qt's PDF engine (QPdfWriter at 300 dpi, the
// painter in twips, as direct films were written before) placing twenty
// 512x512 grey pictures on a black A4 page in a 4 x 5 grid, each film a file
// flushed to disk. Prints one line of figures. Not a test.
//
//   vantorel-bench-floor --films N --folder DIR

#include "../bench_figures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

// A 512x512 diagonal ramp, a different start for each picture.
QImage ramp(int k)
{
    QImage image(512, 512, QImage::Format_Grayscale8);
    for (int y = 0; y < 512; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < 512; ++x)
            row[x] = static_cast<uchar>((k * 13 + (x + y) / 4) & 0xFF);
    }
    return image;
}

bool writeFilm(const QString& path, const std::vector<QImage>& pictures)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&writer);
        painter.scale(300 / 1440.0, 300 / 1440.0);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.fillRect(QRectF(0, 0, 11900, 16840), Qt::black);
        const double cell = (11900 - 2 * 56.7) / 4;
        for (int i = 0; i < 20; ++i)
            painter.drawImage(QRectF(56.7 + (i % 4) * cell, 800 + (i / 4) * cell, cell, cell), pictures[i]);
    }
    file.flush();
    return ::fsync(file.handle()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    int films = 8;
    QString folder = "/tmp";
    for (int i = 1; i + 1 < argc; ++i) {
        if (QString(argv[i]) == "--films")
            films = std::max(1, std::atoi(argv[i + 1]));
        if (QString(argv[i]) == "--folder")
            folder = argv[i + 1];
    }
    std::vector<QImage> pictures;
    for (int k = 0; k < 20; ++k)
        pictures.push_back(ramp(k));
    writeFilm(folder + "/warm-up.pdf", pictures);

    std::vector<double> wallMs;
    const double cpuBefore = vantorel::bench::ownCpuSeconds();
    for (int film = 0; film < films; ++film) {
        const auto start = std::chrono::steady_clock::now();
        if (!writeFilm(folder + QString("/floor-%1.pdf").arg(film), pictures)) {
            std::fprintf(stderr, "cannot write into %s\n", qPrintable(folder));
            return 1;
        }
        wallMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const double cpuPerFilm = (vantorel::bench::ownCpuSeconds() - cpuBefore) / films;
    std::sort(wallMs.begin(), wallMs.end());
    std::printf("floor films %d median-ms %.1f cpu-s-per-film %.4f bytes %lld\n", films,
                wallMs[wallMs.size() / 2], cpuPerFilm,
                static_cast<long long>(QFile(folder + "/floor-0.pdf").size()));
    return 0;
}
