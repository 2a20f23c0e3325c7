#include "template_composition/qt/tiff_film_export.h"

#include "base/clock.h"
#include "base/file_writing.h"
#include "base/text.h"
#include "direct_composition/qt/film_page_painter.h"
#include "template_composition/report_page.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::template_composition {

using base::twoDigits;

namespace {

// Makes the folder when it is missing; a Failure with the system's reason.
base::Result<void> makeFolder(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode))
            return {};
        return base::Failure{"cannot create folder " + path + ": " + std::strerror(ENOTDIR)};
    }
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return {};
    return base::Failure{"cannot create folder " + path + ": " + std::strerror(errno)};
}

std::string systemReason()
{
    return std::strerror(errno);
}

[[nodiscard]] bool writeAll(int fd, const QByteArray& bytes, std::string& error)
{
    return base::writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), error);
}

// The folder's entries (a new name) reach the disk too.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

namespace {

// Where the export image lies on the sheet: the part inside the margins (the
// whole sheet when the margins leave nothing), scaled alike in both
// directions to fit the image and centred in it.
struct ExportGeometry {
    double left = 0, top = 0;         // the shown part's corner on the sheet, twips
    double width = 0, height = 0;     // its size, twips
    double scale = 0;                 // image pixels per twip
    double offsetX = 0, offsetY = 0;  // its corner in the image, pixels
};

std::optional<ExportGeometry> exportGeometry(const direct_composition::FilmPage& page,
                                             const ReportPageSettings& settings)
{
    ExportGeometry g;
    g.width = page.pageWidth - settings.marginLeft - settings.marginRight;
    g.height = page.pageHeight - settings.marginTop - settings.marginBottom;
    g.left = settings.marginLeft;
    g.top = settings.marginTop;
    if (g.width <= 0 || g.height <= 0) {
        g.width = page.pageWidth;
        g.height = page.pageHeight;
        g.left = g.top = 0;
    }
    if (g.width <= 0 || g.height <= 0)
        return std::nullopt;
    g.scale = std::min(exportWidthPixels / g.width, exportHeightPixels / g.height);
    g.offsetX = (exportWidthPixels - g.width * g.scale) / 2;
    g.offsetY = (exportHeightPixels - g.height * g.scale) / 2;
    return g;
}

}  // namespace

QImage renderExportImage(const direct_composition::FilmPage& page, const ReportPageSettings& settings)
{
    QImage image(exportWidthPixels, exportHeightPixels,
                 isGrayPage(page) ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::optional<ExportGeometry> g = exportGeometry(page, settings);
    if (!g)
        return image;
    QPainter painter(&image);
    painter.translate(g->offsetX, g->offsetY);
    painter.scale(g->scale, g->scale);
    painter.setClipRect(QRectF(0, 0, g->width, g->height));
    painter.translate(-g->left, -g->top);
    direct_composition::paintFilmPage(painter, page);
    return image;
}

direct_composition::FilmPage exportImagePage(const direct_composition::FilmPage& page,
                                             const ReportPageSettings& settings, const QImage& image)
{
    direct_composition::FilmPage printed = page;
    printed.ops.clear();
    const std::optional<ExportGeometry> g = exportGeometry(page, settings);
    if (!g || image.isNull())
        return printed;
    // Only the part of the image that shows the sheet: the white bands that
    // centre it are not printed over the margins.
    const QRect shown(static_cast<int>(std::lround(g->offsetX)), static_cast<int>(std::lround(g->offsetY)),
                      static_cast<int>(std::lround(g->width * g->scale)),
                      static_cast<int>(std::lround(g->height * g->scale)));
    direct_composition::DrawOp op;
    op.picture = direct_composition::fromQImage(image.copy(shown));
    // Drawing positions are taken from the page's origin.
    op.rect = {static_cast<float>(g->left - page.originX), static_cast<float>(g->top - page.originY),
               static_cast<float>(g->width), static_cast<float>(g->height)};
    printed.ops.push_back(std::move(op));
    return printed;
}

base::Result<WrittenFilmImage> writeFilmImageFile(const QImage& image, const std::string& root,
                                                  const base::LocalDateTime& now)
{
    std::string folder = root;
    if (base::Result<void> made = makeFolder(folder); !made)
        return base::Failure{made.reason()};
    for (const std::string& part : {std::to_string(now.year), twoDigits(now.month), twoDigits(now.day)}) {
        folder += "/" + part;
        if (base::Result<void> made = makeFolder(folder); !made)
            return base::Failure{made.reason()};
    }
    const std::string stem = twoDigits(now.hour) + twoDigits(now.minute) + twoDigits(now.second);

    // Encoded in memory first: every byte then goes to the disk through a
    // checked write, and a full disk shows at the write that fails.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "tiff");
        writer.setCompression(0);  // uncompressed: lossless and the quickest to write
        if (!writer.write(image))
            return base::Failure{"cannot encode film image " + folder + "/" + stem +
                                 ".tiff: " + writer.errorString().toStdString()};
    }
    static std::atomic<unsigned> serial{0};
    const std::string temporary = folder + "/." + stem + "-" + std::to_string(::getpid()) + "-" +
        std::to_string(++serial) + ".tiff.part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return base::Failure{"cannot write film image in " + folder + ": " + systemReason()};
    std::string reason;
    bool written = writeAll(fd, bytes, reason);
    if (written && ::fsync(fd) != 0) {
        reason = systemReason();
        written = false;
    }
    if (::close(fd) != 0 && written) {
        reason = systemReason();
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return base::Failure{"cannot write film image " + folder + "/" + stem + ".tiff: " + reason};
    }
    return WrittenFilmImage{folder, stem, temporary};
}

base::Result<ExportedFilm> nameFilmImage(const WrittenFilmImage& image)
{
    for (int suffix = 0; suffix < 10000; ++suffix) {
        const std::string name = image.stem + (suffix == 0 ? "" : "-" + std::to_string(suffix)) + ".tiff";
        const std::string to = image.folder + "/" + name;
        if (::link(image.temporary.c_str(), to.c_str()) == 0) {
            ::unlink(image.temporary.c_str());
            syncFolder(image.folder);
            return ExportedFilm{image.folder, name};
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links: rename onto a name not taken.
        struct stat status {};
        if (::stat(to.c_str(), &status) == 0)
            continue;
        if (::rename(image.temporary.c_str(), to.c_str()) == 0) {
            syncFolder(image.folder);
            return ExportedFilm{image.folder, name};
        }
        base::Failure failure{"cannot write film image " + to + ": " + systemReason()};
        ::unlink(image.temporary.c_str());
        return failure;
    }
    ::unlink(image.temporary.c_str());
    return base::Failure{"no free film image name for " + image.folder + "/" + image.stem + ".tiff"};
}

void discardFilmImage(const WrittenFilmImage& image)
{
    ::unlink(image.temporary.c_str());
}

base::Result<ExportedFilm> exportFilmImage(const QImage& image, const std::string& root,
                                           const base::LocalDateTime& now)
{
    const base::Result<WrittenFilmImage> written = writeFilmImageFile(image, root, now);
    if (!written)
        return base::Failure{written.reason()};
    return nameFilmImage(*written);
}

base::Result<WrittenFilmImage> writeFilmImage(QImage image, std::string root, base::LocalDateTime now)
{
    return writeFilmImageFile(image, root, now);
}

}  // namespace vantorel::template_composition
