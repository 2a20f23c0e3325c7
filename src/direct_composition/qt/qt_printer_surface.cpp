#include "direct_composition/qt/qt_printer_surface.h"

#include "base/run_log.h"
#include "direct_composition/cups/cups_document_job.h"
#include "direct_composition/cups/cups_queue_watch.h"
#include "direct_composition/qt/film_file_writer.h"
#include "direct_composition/qt/film_text_pdf.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace vantorel::direct_composition {

namespace {

const char* const jobTitle = "film";

QPageLayout::Orientation toQt(Orientation orientation)
{
    return orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPageSize pageSizeOf(const std::string& printer)
{
    if (printer == QtPrinterSurface::filmFilePrinter)
        return QPageSize(QPageSize::A4);
    const QPageSize size = QPrinterInfo::printerInfo(QString::fromStdString(printer)).defaultPageSize();
    return size.isValid() ? size : QPageSize(QPageSize::A4);
}

}  // namespace

PdfSheet sheetOf(const QPageLayout& layout)
{
    const QRectF full = layout.fullRect(QPageLayout::Point);
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    return {full.width(), full.height(), paint.left(), paint.top()};
}

std::vector<std::pair<std::string, std::string>> cupsOptionsOf(const QPrinter& printer)
{
    std::vector<std::pair<std::string, std::string>> options;
    options.emplace_back("media", printer.pageLayout().pageSize().key().toStdString());
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        options.emplace_back("sides", "one-sided");
        break;
    case QPrinter::DuplexAuto:
        options.emplace_back("sides", landscape ? "two-sided-short-edge" : "two-sided-long-edge");
        break;
    case QPrinter::DuplexLongSide:
        options.emplace_back("sides", "two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        options.emplace_back("sides", "two-sided-short-edge");
        break;
    }
    if (landscape)
        options.emplace_back("landscape", "");
    return options;
}

QtPrinterSurface::QtPrinterSurface(std::string homeFolder, base::RunLog* log)
    : FilmPageSurface(installedPrinters()), home_(std::move(homeFolder)), log_(log)
{
    const int abandoned = removeAbandonedFilmFiles(filmFileFolder(home_));
    if (abandoned > 0 && log_)
        log_->write("removed " + std::to_string(abandoned) +
                    " unfinished film file(s) of an earlier run from " + filmFileFolder(home_).toStdString());
    const std::string systemDefault = QPrinterInfo::defaultPrinterName().toStdString();
    if (systemDefault.empty() || !FilmPageSurface::selectPrinter(systemDefault))
        (void)FilmPageSurface::selectPrinter(filmFilePrinter);  // always installed: cannot fail
    updateSheet();
}

std::vector<std::string> QtPrinterSurface::installedPrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    names.push_back(filmFilePrinter);
    return names;
}

bool QtPrinterSurface::selectPrinter(const std::string& name)
{
    if (!FilmPageSurface::selectPrinter(name))
        return false;
    updateSheet();
    return true;
}

void QtPrinterSurface::updateSheet()
{
    const QSizeF points = pageSizeOf(currentPrinter()).size(QPageSize::Point);
    setSheet(static_cast<float>(points.width() * 20), static_cast<float>(points.height() * 20));
}

PageRelease QtPrinterSurface::releasePage(const FilmPage& page)
{
    const PageRelease release =
        currentPrinter() == filmFilePrinter ? printToFilmFile(page) : printToSystemPrinter(page);
    if (!release.released && log_) {
        const std::string where =
            currentPrinter() == filmFilePrinter ? " (" + filmFileFolder(home_).toStdString() + ")" : "";
        log_->write("printer " + currentPrinter() + " did not take the film" + where + ": " +
                    release.failure);
    }
    return release;
}

FilmPdfOptions QtPrinterSurface::pdfOptions()
{
    FilmPdfOptions options;
    options.compression = compression_ ? compression_() : FilmImageCompression::Lossless;
    options.title = jobTitle;
    options.drawText = [this](const FilmPage& page, const PdfSheet& sheet, int firstObject,
                              PdfOverlay& overlay) {
        return textOverlay_.draw(page, sheet, firstObject, overlay);
    };
    return options;
}

// A page whose PDF could not be made; what an encoder threw goes to the log.
PageRelease QtPrinterSurface::notDrawn(const FilmPdf& pdf)
{
    if (!pdf.failure().empty() && log_)
        log_->write("film PDF not made: " + pdf.failure());
    return PageRelease::refused("the page could not be drawn");
}

PageRelease QtPrinterSurface::printToFilmFile(const FilmPage& page)
{
    const QPageLayout layout(QPageSize(QPageSize::A4), toQt(orientation()), QMarginsF());
    FilmPdf pdf(page, sheetOf(layout), pdfOptions());
    if (!pdf.ready())
        return notDrawn(pdf);
    const base::Result<std::string> written = writeFilmFileBytesNow(home_, [&pdf](QIODevice& file) {
        return pdf.write([&file](const char* data, std::size_t size) {
            return file.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size);
        });
    });
    if (!written)
        return PageRelease::refused(written.reason());
    lastFilmFile_ = *written;
    return {};
}

PageRelease QtPrinterSurface::printToSystemPrinter(const FilmPage& page)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(currentPrinter()));
    if (info.isNull())
        return PageRelease::refused("printer not installed");
    // Qt's printer gives the queue's paper, printable area and sides as its
    // print dialog shows them; the page itself is our PDF.
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PageRelease::refused("printer not usable");
    printer.setPageOrientation(toQt(orientation()));
    FilmPdf pdf(page, sheetOf(printer.pageLayout()), pdfOptions());
    if (!pdf.ready())
        return notDrawn(pdf);
    // CUPS takes a job that a stopped queue then holds: the watch refuses it.
    const CupsQueueWatch queue(currentPrinter(), jobTitle);
    if (!queue.refusal().empty())
        return PageRelease::refused(queue.refusal());
    const base::Result<void> handedOver =
        printDocumentOnCups(currentPrinter(), jobTitle, cupsOptionsOf(printer),
                            [&pdf](const CupsDocumentSink& sink) { return pdf.write(sink); });
    if (!handedOver)
        return PageRelease::refused(handedOver.reason());
    const base::Result<void> queued = queue.confirmQueued();
    if (!queued)
        return PageRelease::refused(queued.reason());
    return {};
}

}  // namespace vantorel::direct_composition
