#include "template_composition/qt/tiff_film_export.h"

#include "console/clock.h"
#include "direct_composition/qt/film_page_painter.h"
#include "template_composition/report_page.h"

#include <QImageWriter>
#include <QPainter>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::template_composition {

namespace {

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Makes the folder when it is missing; false with the system's reason.
bool makeFolder(const std::string& path, std::string& error)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            return true;
        error = "cannot create folder " + path + ": " + std::strerror(ENOTDIR);
        return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return true;
    error = "cannot create folder " + path + ": " + std::strerror(errno);
    return false;
}

// Gives the complete temporary file the first free film name, never
// replacing a film already there.
std::optional<std::string> nameFilm(const QString& temporary, const std::string& folder,
                                    const std::string& stem, std::string& error)
{
    const std::string from = temporary.toStdString();
    for (int suffix = 0; suffix < 10000; ++suffix) {
        const std::string name = stem + (suffix == 0 ? "" : "-" + std::to_string(suffix)) + ".tiff";
        const std::string to = folder + "/" + name;
        if (::link(from.c_str(), to.c_str()) == 0)
            return name;
        if (errno == EEXIST)
            continue;
        // A file system without hard links: rename onto a name not taken.
        struct stat status {};
        if (::stat(to.c_str(), &status) == 0)
            continue;
        if (::rename(from.c_str(), to.c_str()) == 0)
            return name;
        error = "cannot write film image " + to + ": " + std::strerror(errno);
        return std::nullopt;
    }
    error = "no free film image name for " + folder + "/" + stem + ".tiff";
    return std::nullopt;
}

}  // namespace

QImage renderExportImage(const direct_composition::FilmPage& page, const ReportPageSettings& settings)
{
    QImage image(exportWidthPixels, exportHeightPixels,
                 isGrayPage(page) ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(Qt::white);
    float width = page.pageWidth - settings.marginLeft - settings.marginRight;
    float height = page.pageHeight - settings.marginTop - settings.marginBottom;
    float left = settings.marginLeft, top = settings.marginTop;
    if (width <= 0 || height <= 0) {
        width = page.pageWidth;
        height = page.pageHeight;
        left = top = 0;
    }
    if (width <= 0 || height <= 0)
        return image;
    const double scale = std::min(exportWidthPixels / double(width), exportHeightPixels / double(height));
    QPainter painter(&image);
    painter.translate((exportWidthPixels - width * scale) / 2, (exportHeightPixels - height * scale) / 2);
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, width, height));
    painter.translate(-left, -top);
    direct_composition::paintFilmPage(painter, page);
    return image;
}

std::optional<ExportedFilm> exportFilmImage(const QImage& image, const std::string& root,
                                            const console::LocalDateTime& now, std::string& error)
{
    std::string folder = root;
    if (!makeFolder(folder, error))
        return std::nullopt;
    for (const std::string& part : {std::to_string(now.year), twoDigits(now.month), twoDigits(now.day)}) {
        folder += "/" + part;
        if (!makeFolder(folder, error))
            return std::nullopt;
    }
    const std::string stem = twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second);

    // Removed by its destructor whatever happens; the film keeps its own link.
    QTemporaryFile temporary(QString::fromStdString(folder + "/." + stem + "-XXXXXX.tiff.part"));
    if (!temporary.open()) {
        error = "cannot write film image in " + folder + ": " + temporary.errorString().toStdString();
        return std::nullopt;
    }
    QImageWriter writer(&temporary, "tiff");
    writer.setCompression(0);  // uncompressed: lossless and the quickest to write
    const bool written = writer.write(image) && temporary.flush();
    if (!written || temporary.error() != QFileDevice::NoError) {
        const QString reason = temporary.error() != QFileDevice::NoError ? temporary.errorString()
                                                                        : writer.errorString();
        error = "cannot write film image " + folder + "/" + stem + ".tiff: " + reason.toStdString();
        return std::nullopt;
    }
    temporary.close();
    const std::optional<std::string> name = nameFilm(temporary.fileName(), folder, stem, error);
    if (!name)
        return std::nullopt;
    return ExportedFilm{folder, *name};
}

FilmImageOutcome writeFilmImage(direct_composition::FilmPage page, ReportPageSettings settings,
                                std::string root, console::LocalDateTime now)
{
    FilmImageOutcome outcome;
    outcome.film = exportFilmImage(renderExportImage(page, settings), root, now, outcome.error);
    return outcome;
}

}  // namespace vantorel::template_composition
