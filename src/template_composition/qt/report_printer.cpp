#include "template_composition/qt/report_printer.h"

#include "direct_composition/cups/cups_queue_watch.h"
#include "direct_composition/qt/film_file_writer.h"
#include "direct_composition/qt/film_page_painter.h"
#include "direct_composition/qt/qt_printer_surface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace vantorel::template_composition {

namespace dc = direct_composition;

namespace {

// Error numbers of the print failure log line.
enum PrintErrorNumber {
    printerNotInstalled = 1,
    jobNotStarted = 2,
    jobNotFinished = 3,
    noFilmFile = 4,
    queueRefusesJobs = 5,
    jobNotQueued = 6,
};

// The FilmFile PDF's resolution: pictures smaller than their slot are
// enlarged smoothly up to it, larger ones keep their full resolution. Twenty
// 512-pixel images of a 14 x 17 inch film come out at about 150 dpi; at 300
// dpi enlarging them took as long as everything else the N-ACTION does.
constexpr int filmFileDpi = 200;

QPageLayout pageLayoutOf(const ReportPageSettings& settings)
{
    // Paper as it stands in portrait, in points (20 twips a point).
    const QSizeF paper(settings.paperWidth / 20.0, settings.paperHeight / 20.0);
    const QPageSize size(paper, QPageSize::Point, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, settings.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
}

// Paints the film onto a sheet of `paper` device pixels; the painter's (0, 0)
// is the sheet's corner (the full page is used).
bool paint(QPagedPaintDevice& device, const QSizeF& paper, const dc::FilmPage& page,
           ReportPrintError& error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        error.number = jobNotStarted;
        error.description = "the printer did not accept the job";
        return false;
    }
    painter.scale(paper.width() / double(page.pageWidth), paper.height() / double(page.pageHeight));
    dc::paintFilmPage(painter, page);
    if (!painter.end()) {
        error.number = jobNotFinished;
        error.description = "the printer did not finish the job";
        return false;
    }
    return true;
}

}  // namespace

bool ReportPrinter::print(const dc::FilmPage& page, const ReportPageSettings& settings,
                          const std::string& printerName, const std::string& documentName,
                          ReportPrintError& error)
{
    error = {};
    const QString name = QString::fromStdString(printerName);
    const QString title = QString::fromStdString(documentName);
    if (printerName == dc::QtPrinterSurface::filmFilePrinter) {
        const dc::FilmFileResult written = dc::writeFilmFileNow(home_, [&](QPdfWriter& writer) {
            writer.setResolution(filmFileDpi);
            writer.setPageLayout(pageLayoutOf(settings));
            writer.setTitle(title);
            return paint(writer, writer.pageLayout().fullRectPixels(filmFileDpi).size(), page, error);
        });
        if (!written.written()) {
            if (error.number == 0)
                error.number = noFilmFile;
            error.description = "the FilmFile PDF was not written: " + written.error;
            return false;
        }
        lastFilmFile_ = written.path;
        return true;
    }
    // Qt silently keeps the previous printer for an unknown name: check first.
    if (!QPrinterInfo::availablePrinterNames().contains(name)) {
        error.number = printerNotInstalled;
        error.description = "printer \"" + printerName + "\" is not installed";
        return false;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    error.printerStatus = static_cast<int>(info.state());
    // Qt hands the job to CUPS without saying whether CUPS took it.
    const dc::CupsQueueWatch queue(printerName, documentName);
    if (!queue.refusal().empty()) {
        error.number = queueRefusesJobs;
        error.description = queue.refusal();
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(settings));
    printer.setDocName(title);
    if (!paint(printer, printer.paperRect(QPrinter::DevicePixel).size(), page, error))
        return false;
    const std::string notQueued = queue.confirmQueued();
    if (!notQueued.empty()) {
        error.number = jobNotQueued;
        error.description = notQueued;
        return false;
    }
    return true;
}

}  // namespace vantorel::template_composition
