#include "template_composition/qt/tiff_film_export.h"

#include "console/clock.h"
#include "console/file_writing.h"
#include "console/text.h"
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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::template_composition {

using console::twoDigits;

namespace {

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

std::string systemReason()
{
    return std::strerror(errno);
}

bool writeAll(int fd, const QByteArray& bytes, std::string& error)
{
    return console::writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()), error);
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

std::optional<WrittenFilmImage> writeFilmImageFile(const QImage& image, const std::string& root,
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

    // Encoded in memory first: every byte then goes to the disk through a
    // checked write, and a full disk shows at the write that fails.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "tiff");
        writer.setCompression(0);  // uncompressed: lossless and the quickest to write
        if (!writer.write(image)) {
            error = "cannot encode film image " + folder + "/" + stem + ".tiff: " + writer.errorString().toStdString();
            return std::nullopt;
        }
    }
    static std::atomic<unsigned> serial{0};
    const std::string temporary = folder + "/." + stem + "-" + std::to_string(::getpid()) + "-" +
                                  std::to_string(++serial) + ".tiff.part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write film image in " + folder + ": " + systemReason();
        return std::nullopt;
    }
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
        error = "cannot write film image " + folder + "/" + stem + ".tiff: " + reason;
        return std::nullopt;
    }
    return WrittenFilmImage{folder, stem, temporary};
}

std::optional<ExportedFilm> nameFilmImage(const WrittenFilmImage& image, std::string& error)
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
        error = "cannot write film image " + to + ": " + systemReason();
        ::unlink(image.temporary.c_str());
        return std::nullopt;
    }
    error = "no free film image name for " + image.folder + "/" + image.stem + ".tiff";
    ::unlink(image.temporary.c_str());
    return std::nullopt;
}

void discardFilmImage(const WrittenFilmImage& image)
{
    ::unlink(image.temporary.c_str());
}

std::optional<ExportedFilm> exportFilmImage(const QImage& image, const std::string& root,
                                            const console::LocalDateTime& now, std::string& error)
{
    const std::optional<WrittenFilmImage> written = writeFilmImageFile(image, root, now, error);
    if (!written)
        return std::nullopt;
    return nameFilmImage(*written, error);
}

FilmImageOutcome writeFilmImage(direct_composition::FilmPage page, ReportPageSettings settings,
                                std::string root, console::LocalDateTime now)
{
    FilmImageOutcome outcome;
    outcome.written = writeFilmImageFile(renderExportImage(page, settings), root, now, outcome.error);
    return outcome;
}

}  // namespace vantorel::template_composition
