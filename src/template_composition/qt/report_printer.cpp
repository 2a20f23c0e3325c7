#include "template_composition/qt/report_printer.h"

#include "direct_composition/cups/cups_document_job.h"
#include "direct_composition/cups/cups_queue_watch.h"
#include "direct_composition/qt/film_file_writer.h"
#include "direct_composition/qt/qt_printer_surface.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace vantorel::template_composition {

namespace dc = direct_composition;

namespace {

// Error numbers of the print failure log line.
enum PrintErrorNumber {
    PrinterNotInstalled = 1,
    JobNotStarted = 2,
    JobNotFinished = 3,
    NoFilmFile = 4,
    QueueRefusesJobs = 5,
    JobNotQueued = 6,
};

QPageLayout pageLayoutOf(const ReportPageSettings& settings)
{
    // Paper as it stands in portrait, in points (20 twips a point).
    const QSizeF paper(settings.paperWidth / 20.0, settings.paperHeight / 20.0);
    const QPageSize size(paper, QPageSize::Point, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, settings.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
}

}  // namespace

bool ReportPrinter::print(const dc::FilmPage& page, const ReportPageSettings& settings,
                          const std::string& printerName, const std::string& documentName,
                          ReportPrintError& error)
{
    error = {};
    const QString name = QString::fromStdString(printerName);
    // The page goes out as a film PDF of our own on a sheet of the report's
    // paper, (0, 0) at the sheet's corner. Template pages arrive drawn as
    // one picture, so no text is left to write.
    dc::FilmPdfOptions options;
    options.title = documentName;
    options.compression = compression_;
    if (printerName == dc::QtPrinterSurface::filmFilePrinter) {
        dc::FilmPdf pdf(page, dc::sheetOf(pageLayoutOf(settings)), options);
        const base::Result<std::string> written = pdf.ready()
            ? dc::writeFilmFileBytesNow(home_,
                                        [&pdf](QIODevice& file) {
                                            return pdf.write([&file](const char* data, std::size_t size) {
                                                return file.write(data, static_cast<qint64>(size)) ==
                                                    static_cast<qint64>(size);
                                            });
                                        })
            : base::Result<std::string>(base::Failure{"the page could not be drawn"});
        if (!written) {
            error.number = NoFilmFile;
            error.description = "the FilmFile PDF was not written: " + written.reason();
            return false;
        }
        lastFilmFile_ = *written;
        return true;
    }
    // Qt silently keeps the previous printer for an unknown name: check first.
    if (!QPrinterInfo::availablePrinterNames().contains(name)) {
        error.number = PrinterNotInstalled;
        error.description = "printer \"" + printerName + "\" is not installed";
        return false;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    error.printerStatus = static_cast<int>(info.state());
    // The queue's sides and the paper's name as its print dialog gives them.
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(settings));
    dc::FilmPdf pdf(page, dc::sheetOf(printer.pageLayout()), options);
    if (!pdf.ready()) {
        error.number = JobNotStarted;
        error.description = "the page could not be drawn";
        return false;
    }
    // CUPS takes a job that a stopped queue then holds: the watch refuses it.
    const dc::CupsQueueWatch queue(printerName, documentName);
    if (!queue.refusal().empty()) {
        error.number = QueueRefusesJobs;
        error.description = queue.refusal();
        return false;
    }
    const base::Result<void> handedOver =
        dc::printDocumentOnCups(printerName, documentName, dc::cupsOptionsOf(printer),
                                [&pdf](const dc::CupsDocumentSink& sink) { return pdf.write(sink); });
    if (!handedOver) {
        error.number = JobNotFinished;
        error.description = handedOver.reason();
        return false;
    }
    const base::Result<void> queued = queue.confirmQueued();
    if (!queued) {
        error.number = JobNotQueued;
        error.description = queued.reason();
        return false;
    }
    return true;
}

}  // namespace vantorel::template_composition
