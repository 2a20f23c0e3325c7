#include "direct_composition/qt/qt_printer_surface.h"

#include "console/run_log.h"
#include "direct_composition/qt/film_file_folder.h"
#include "direct_composition/qt/film_page_painter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
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

// Plays the page onto the printer in twips.
bool paintOnto(QPrinter& printer, const FilmPage& page)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double devicePerTwip = printer.resolution() / 1440.0;
    painter.scale(devicePerTwip, devicePerTwip);
    paintFilmPage(painter, page);
    return painter.end();
}

}  // namespace

QtPrinterSurface::QtPrinterSurface(std::string homeFolder, console::RunLog* log)
    : RecordingSurface(installedPrinters()), home_(std::move(homeFolder)), log_(log)
{
    setKeepAllDocuments(false);
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

bool QtPrinterSurface::releasePage(const FilmPage& page)
{
    const bool printed = currentPrinter() == filmFilePrinter ? printToFilmFile(page)
                                                             : printToSystemPrinter(page);
    if (!printed && log_)
        log_->write("printer " + currentPrinter() + " did not take the film");
    return printed;
}

bool QtPrinterSurface::printToFilmFile(const FilmPage& page)
{
    const std::string path = reserveFilmFile(home_);
    if (path.empty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(filmFileDpi);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), toQt(orientation()), QMarginsF()));
    printer.setDocName(QStringLiteral("film"));
    if (!paintOnto(printer, page)) {
        QFile::remove(QString::fromStdString(path));
        return false;
    }
    lastFilmFile_ = path;
    return true;
}

bool QtPrinterSurface::printToSystemPrinter(const FilmPage& page)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(currentPrinter()));
    if (info.isNull())
        return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(toQt(orientation()));
    printer.setDocName(QStringLiteral("film"));
    return paintOnto(printer, page);
}

}  // namespace vantorel::direct_composition
