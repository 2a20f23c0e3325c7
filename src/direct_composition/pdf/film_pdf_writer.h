#pragma once

#include "direct_composition/film_page.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// How the pictures of a film are stored in its PDF: losslessly (Flate, the
// default) or as JPEG at quality 94 (grey JPEG for grey pictures).
enum class FilmImageCompression { Lossless, Jpeg };

// "lossless" or "jpeg" (case and blanks around it ignored); false for
// anything else.
[[nodiscard]] bool filmImageCompressionOf(const std::string& keyword, FilmImageCompression& compression);

// The sheet the page is written on, in PDF points (1/72 inch): its size as
// the printer's media has it (following the orientation) and the top-left
// corner of the printable area, from the sheet's top-left corner, where the
// page's twips have their (0, 0) before the page's own origin moves them.
struct PdfSheet {
    double widthPoints = 0;
    double heightPoints = 0;
    double printableLeftPoints = 0;
    double printableTopPoints = 0;
};

// Objects that another PDF writer made, drawn over the whole sheet after
// everything else: the page's text as a Form XObject, with its fonts.
struct PdfOverlay {
    // Objects first, first + 1, ..., each complete from "N 0 obj" to "endobj".
    std::vector<std::string> objects;
    int form = 0;  // the Form XObject, its box the sheet, in the sheet's points
};

// Draws the text operations of the page as objects numbered from
// `firstObject`; false when it could not.
using TextOverlayMaker =
    std::function<bool(const FilmPage& page, const PdfSheet& sheet, int firstObject, PdfOverlay& overlay)>;

inline constexpr int defaultFlateLevel = 1;

struct FilmPdfOptions {
    FilmImageCompression compression = FilmImageCompression::Lossless;
    std::string title = "film";
    // libdeflate's level for lossless pictures, 1 (fastest) ... 12.
    int flateLevel = defaultFlateLevel;
    // Text operations are left out without one.
    TextOverlayMaker drawText;
};

// Receives the PDF in pieces, in order; false stops the writing.
using PdfSink = std::function<bool(const char* data, std::size_t size)>;

// One page made ready to be written as a one-page PDF. Every picture goes in
// once as an image, 8-bit DeviceGray when it is grey (an RGB picture whose
// pixels are all grey included), DeviceRGB otherwise, placed exactly on its
// rectangle; one-pixel pictures become filled rectangles. A picture goes at
// its own resolution unless it has at most a quarter of the dots its
// rectangle has at 300 dpi (across or down): that one is enlarged to 300 dpi
// first, as its magnification asks (repeated pixels, bilinear, bicubic),
// since viewers and printers would each stretch it their own way. BILINEAR
// and CUBIC pictures ask the device to smooth what scaling is left
// (/Interpolate), REPLICATE and NONE do not. The pictures are enlarged and
// compressed side by side on a small pool of worker threads when the page is
// made. Text goes over everything else, as the options' drawText makes it.
class FilmPdf {
public:
    FilmPdf(const FilmPage& page, const PdfSheet& sheet, const FilmPdfOptions& options);
    ~FilmPdf();
    FilmPdf(const FilmPdf&) = delete;
    FilmPdf& operator=(const FilmPdf&) = delete;

    // False when a picture could not be encoded: nothing should be written.
    [[nodiscard]] bool ready() const;
    // What an encoder threw when that kept a picture out; empty otherwise.
    const std::string& failure() const;
    // Writes the PDF (once); false when it was not ready or the sink refused
    // a piece.
    [[nodiscard]] bool write(const PdfSink& sink);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Makes the page and writes it.
[[nodiscard]] bool writeFilmPdf(const FilmPage& page, const PdfSheet& sheet, const FilmPdfOptions& options,
                                const PdfSink& sink);

}  // namespace vantorel::direct_composition
