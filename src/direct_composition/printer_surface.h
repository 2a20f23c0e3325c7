#pragma once

#include "direct_composition/film_page.h"

#include <string>
#include <vector>

namespace vantorel::direct_composition {

enum class Orientation { Portrait = 1, Landscape = 2 };

// A printer seen as a drawing surface. One document is one page; coordinates
// are twips from the origin that setOrigin placed.
//
// Calling order per film: selectPrinter, setOrientation (only for a known film
// orientation), setOrigin, pageWidth/pageHeight, drawing, then exactly one of
// endDocument or abortDocument. The document begins with its first drawing.
class PrinterSurface {
public:
    virtual ~PrinterSurface() = default;

    // Device names of the installed printers, in the system's order.
    virtual std::vector<std::string> listPrinters() const = 0;
    // Exact name match against listPrinters(); no match keeps the current
    // printer and returns false.
    [[nodiscard]] virtual bool selectPrinter(const std::string& name) = 0;
    virtual std::string currentPrinter() const = 0;

    virtual void setOrientation(Orientation orientation) = 0;
    // Twips from now on; (0, 0) lies left x 56.7 twips right of and top x 56.7
    // twips below the top-left corner of the printable area.
    virtual void setOrigin(double leftMillimetres, double topMillimetres) = 0;
    // The sheet in twips, following the orientation, not reduced by margins.
    virtual float pageWidth() const = 0;
    virtual float pageHeight() const = 0;

    // The whole picture stretched to fill exactly the rectangle; false when the
    // picture cannot be drawn.
    [[nodiscard]] virtual bool drawPicture(const Picture& picture, float x, float y, float width,
                                           float height) = 0;
    // The same, scaled as `magnification` asks; a surface that knows only one
    // way of scaling uses that.
    [[nodiscard]] virtual bool drawScaledPicture(const Picture& picture, float x, float y, float width,
                                                 float height, Magnification magnification)
    {
        (void)magnification;
        return drawPicture(picture, x, y, width, height);
    }
    virtual void setTextPosition(float x, float y) = 0;
    virtual void setTextStyle(const TextStyle& style) = 0;
    virtual void printText(const std::string& text) = 0;

    // The page is finished and released to the printer; false when the printer
    // did not take it.
    [[nodiscard]] virtual bool endDocument() = 0;
    // Whatever was drawn since the last end is discarded; nothing is printed.
    virtual void abortDocument() = 0;
};

// 56.7 twips per millimetre.
inline constexpr double twipsPerMillimetre = 56.7;

}  // namespace vantorel::direct_composition
