#include "direct_composition/qt/qt_printer_surface.h"

#include "console/run_log.h"
#include "direct_composition/cups/cups_queue_watch.h"
#include "direct_composition/qt/film_file_writer.h"
#include "direct_composition/qt/film_page_painter.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace vantorel::direct_composition {

namespace {

// The FilmFile PDF keeps every picture at least at its own resolution, and
// enlarges small ones smoothly up to this resolution.
constexpr int filmFileDpi = 300;

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

// Plays the page onto the printer or PDF writer in twips.
bool paintOnto(QPagedPaintDevice& device, int resolution, const FilmPage& page)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double devicePerTwip = resolution / 1440.0;
    painter.scale(devicePerTwip, devicePerTwip);
    paintFilmPage(painter, page);
    return painter.end();
}

}  // namespace

QtPrinterSurface::QtPrinterSurface(std::string homeFolder, console::RunLog* log)
    : RecordingSurface(installedPrinters()), home_(std::move(homeFolder)), log_(log)
{
    setKeepDocuments(false);
    const int abandoned = removeAbandonedFilmFiles(filmFileFolder(home_));
    if (abandoned > 0 && log_)
        log_->write("removed " + std::to_string(abandoned) +
                    " unfinished film file(s) of an earlier run from " +
                    filmFileFolder(home_).toStdString());
    const std::string systemDefault = QPrinterInfo::defaultPrinterName().toStdString();
    if (systemDefault.empty() || !RecordingSurface::selectPrinter(systemDefault))
        RecordingSurface::selectPrinter(filmFilePrinter);
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
    if (!RecordingSurface::selectPrinter(name))
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
    const PageRelease release = currentPrinter() == filmFilePrinter ? printToFilmFile(page)
                                                                    : printToSystemPrinter(page);
    if (!release.released && log_) {
        const std::string where =
            currentPrinter() == filmFilePrinter ? " (" + filmFileFolder(home_).toStdString() + ")" : "";
        log_->write("printer " + currentPrinter() + " did not take the film" + where + ": " +
                    release.failure);
    }
    return release;
}

PageRelease QtPrinterSurface::printToFilmFile(const FilmPage& page)
{
    const Orientation orientation = this->orientation();
    const FilmFileResult result = writeFilmFileNow(home_, [&](QPdfWriter& writer) {
        writer.setResolution(filmFileDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), toQt(orientation), QMarginsF()));
        writer.setTitle(QStringLiteral("film"));
        return paintOnto(writer, filmFileDpi, page);
    });
    if (!result.written())
        return PageRelease::refused(result.error);
    lastFilmFile_ = result.path;
    return {};
}

PageRelease QtPrinterSurface::printToSystemPrinter(const FilmPage& page)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(currentPrinter()));
    if (info.isNull())
        return PageRelease::refused("printer not installed");
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PageRelease::refused("printer not usable");
    printer.setPageOrientation(toQt(orientation()));
    const QString title = QStringLiteral("film");
    printer.setDocName(title);
    // Qt hands the job to CUPS without saying whether CUPS took it.
    const CupsQueueWatch queue(currentPrinter(), title.toStdString());
    if (!queue.refusal().empty())
        return PageRelease::refused(queue.refusal());
    if (!paintOnto(printer, printer.resolution(), page) || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        return PageRelease::refused("the print job failed");
    const std::string notQueued = queue.confirmQueued();
    if (!notQueued.empty())
        return PageRelease::refused(notQueued);
    return {};
}

}  // namespace vantorel::direct_composition
