#pragma once

// Helpers for tests that check printed films: waiting with a deadline, finding
// new PDF files in a folder, and rendering a PDF page with pdftoppm.

#include "support/wait_for.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

namespace vantorel::testing {

inline QSet<QString> pdfFilesIn(const QString& folder)
{
    QSet<QString> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList({"*.pdf"}, QDir::Files))
        files.insert(info.absoluteFilePath());
    return files;
}

// PDF files in `folder` that are not in `before` and are complete (not empty).
inline QStringList newPdfFiles(const QString& folder, const QSet<QString>& before)
{
    QStringList files;
    for (const QString& file : pdfFilesIn(folder)) {
        if (!before.contains(file) && QFileInfo(file).size() > 0)
            files.append(file);
    }
    files.sort();
    return files;
}

// A queue is done when it holds no job any more.
inline bool cupsQueueEmpty(const QString& queue)
{
    QProcess lpstat;
    lpstat.start("lpstat", {"-o", queue});
    if (!lpstat.waitForFinished(30000))
        return false;
    return lpstat.readAllStandardOutput().trimmed().isEmpty();
}

// Waits until `count` new complete PDF files are in `folder` (and the queue,
// when named, has no job left); returns them, oldest name first.
inline QStringList waitForNewPdfs(const QString& folder, const QSet<QString>& before, int count,
                                  const QString& queue = {}, int timeoutMs = 90000)
{
    QStringList files;
    waitFor(
        [&] {
            if (!queue.isEmpty() && !cupsQueueEmpty(queue))
                return false;
            files = newPdfFiles(folder, before);
            return files.size() >= count;
        },
        timeoutMs);
    return files;
}

inline int pdfPageCount(const QString& pdf)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    if (!info.waitForFinished(30000))
        return -1;
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

// Pixel sizes of the images embedded in the PDF (pdfimages -list), larger than
// `minimumSide` on both sides (drops the 1 x 1 fills).
inline QList<QSize> pdfImageSizes(const QString& pdf, int minimumSide = 2)
{
    QList<QSize> sizes;
    QProcess list;
    list.start("pdfimages", {"-list", pdf});
    if (!list.waitForFinished(30000))
        return sizes;
    for (const QByteArray& line : list.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 5 || fields[2] != "image")
            continue;
        const QSize size(fields[3].toInt(), fields[4].toInt());
        if (size.width() > minimumSide && size.height() > minimumSide)
            sizes.append(size);
    }
    return sizes;
}

// Page `page` of the PDF rendered at `dpi`; null when pdftoppm fails.
inline QImage renderPdfPage(const QString& pdf, int dpi, int page = 1)
{
    QTemporaryDir dir;
    const QString prefix = dir.path() + "/page";
    QProcess pdftoppm;
    pdftoppm.start("pdftoppm",
                   {"-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                    "-singlefile", "-png", pdf, prefix});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

// Mean grey (0 ... 255) of the square of side 2 * radius + 1 around (x, y).
inline int meanGrey(const QImage& image, int x, int y, int radius = 2)
{
    long sum = 0;
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (!image.rect().contains(p))
                continue;
            sum += qGray(image.pixel(p));
            ++n;
        }
    }
    return n ? static_cast<int>(sum / n) : -1;
}

}  // namespace vantorel::testing
