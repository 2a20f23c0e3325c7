#pragma once

#include "direct_composition/film_page.h"
#include "direct_composition/pdf/film_pdf_writer.h"
#include "template_composition/report_layout.h"

#include <string>

namespace vantorel::template_composition {

// Why a film did not reach its printer: an error number and description for
// the print failure log line, and the printer's status.
struct ReportPrintError {
    int number = 0;
    std::string description;
    int printerStatus = 0;
};

// Prints a report's film page, without a dialog, on a CUPS printer or on the
// built-in "FilmFile" printer (one PDF page in <home>/FilmFile/), on paper of
// the report's size and orientation; (0, 0) of the page is the sheet's corner.
// The page is written as a film PDF of our own (its pictures lossless, at
// their own resolution; text operations are not written, as template pages
// come drawn as one picture) and handed to CUPS through libcups. A CUPS queue
// that is not accepting jobs or is stopped gets nothing, and one that queued
// no job for the film did not take it.
class ReportPrinter {
public:
    explicit ReportPrinter(std::string homeFolder) : home_(std::move(homeFolder)) {}

    // True when the printer took the film; otherwise `error` says why.
    [[nodiscard]] bool print(const direct_composition::FilmPage& page, const ReportPageSettings& settings,
                             const std::string& printerName, const std::string& documentName,
                             ReportPrintError& error);

    // How the pictures of the next pages are kept (lossless until set).
    void setImageCompression(direct_composition::FilmImageCompression compression)
    {
        compression_ = compression;
    }

    // The PDF written for the last film on "FilmFile" (empty when none).
    const std::string& lastFilmFile() const { return lastFilmFile_; }

private:
    std::string home_;
    std::string lastFilmFile_;
    direct_composition::FilmImageCompression compression_ =
        direct_composition::FilmImageCompression::Lossless;
};

}  // namespace vantorel::template_composition
