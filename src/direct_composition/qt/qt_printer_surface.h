#pragma once

#include "base/fwd.h"
#include "direct_composition/film_page_surface.h"
#include "direct_composition/pdf/film_pdf_writer.h"
#include "direct_composition/qt/film_text_pdf.h"

#include <QString>

#include <utility>

#include <functional>
#include <string>
#include <vector>

class QPageLayout;
class QPrinter;

namespace vantorel::direct_composition {

// The printers of the system (Qt print support over CUPS) plus the built-in
// "FilmFile" printer, which writes every film as one PDF page into
// <home>/FilmFile/ (named after the date and time, never overwriting).
//
// Drawing is recorded; endDocument writes the page as a PDF of our own
// (pictures as images at their own resolution, see FilmPdf) and either saves
// it as the FilmFile or hands it to the CUPS queue as a job of its own, with
// the queue's default paper, the orientation and the printable area that Qt
// reports for the queue. abortDocument drops the page, so an abandoned film
// never reaches the printer. A page the printer did not take (a FilmFile that
// could not be written, a queue that refused or lost the job) is logged with
// the reason and reported to the page-ended listener. FilmFile PDFs appear
// under their film name only when complete. Main thread only.
class QtPrinterSurface final : public FilmPageSurface {
public:
    static constexpr const char* filmFilePrinter = "FilmFile";

    // `log` (optional) gets a diagnostic line when a page cannot be printed.
    // Temporary files left in <home>/FilmFile by a run that ended mid-film
    // are removed.
    explicit QtPrinterSurface(std::string homeFolder, base::RunLog* log = nullptr);

    // The CUPS printers in the system's order, then "FilmFile".
    static std::vector<std::string> installedPrinters();

    [[nodiscard]] bool selectPrinter(const std::string& name) override;

    // How the pictures of the next films are compressed, asked afresh for
    // every film (lossless when not set).
    void setImageCompression(std::function<FilmImageCompression()> compression)
    {
        compression_ = std::move(compression);
    }

    // The PDF written for the last film on "FilmFile" (empty when none).
    const std::string& lastFilmFile() const { return lastFilmFile_; }

protected:
    PageRelease releasePage(const FilmPage& page) override;

private:
    void updateSheet();
    FilmPdfOptions pdfOptions();
    PageRelease notDrawn(const FilmPdf& pdf);
    PageRelease printToFilmFile(const FilmPage& page);
    PageRelease printToSystemPrinter(const FilmPage& page);

    std::string home_;
    base::RunLog* log_;
    std::string lastFilmFile_;
    std::function<FilmImageCompression()> compression_;
    FilmTextOverlay textOverlay_;
};

// The sheet of a page layout: the whole sheet, and the printable area's
// corner where the page's twips begin.
PdfSheet sheetOf(const QPageLayout& layout);

// The job options that Qt's own CUPS print engine gave a job on `printer`:
// the paper by its name, one or two sides as the queue's default asks,
// landscape.
std::vector<std::pair<std::string, std::string>> cupsOptionsOf(const QPrinter& printer);

}  // namespace vantorel::direct_composition
