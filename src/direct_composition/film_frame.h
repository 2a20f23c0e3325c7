#pragma once

#include "direct_composition/film_image.h"
#include "direct_composition/printer_surface.h"

#include <memory>
#include <string>
#include <vector>

namespace vantorel::console {
struct Settings;
class RunLog;
class OperatorMessages;
}  // namespace vantorel::console

namespace vantorel::direct_composition {

// The images of one film, in film order (top-left cell first, row by row).
using FilmImages = std::vector<std::unique_ptr<FilmImage>>;

// The pictures of the hospital-name header, kept in the home folder's 医院名称.
class HeaderPictures {
public:
    virtual ~HeaderPictures() = default;
    // The icon of the generated header (cross.bmp), loaded once at start-up;
    // null when it was missing.
    virtual Picture crossIcon() const = 0;
    // The operator's own header picture (yymc.bmp), read afresh for every film.
    virtual bool customHeaderExists() const = 0;
    virtual Picture loadCustomHeader() const = 0;
};

// What composition reads besides the film: the live settings (black base,
// header switch, bottom adjustment, header values), the run log, the operator
// messages, the header pictures and the home folder (named in a message).
struct CompositionContext {
    const console::Settings& settings;
    console::RunLog& log;
    console::OperatorMessages& messages;
    const HeaderPictures& headerPictures;
    std::string programFolder;
};

// The steps that the standard and the uneven layouts share.
namespace film_frame {

// The count checks: false (with their log lines, and the document aborted)
// when the film has no image or not `expected` images.
bool checkImageCount(const CompositionContext& context, PrinterSurface& surface, int n,
                     int expected);

// Area ratio, bottom adjustment (replacing width and height), black base and
// header band, in this order.
void drawFrame(const CompositionContext& context, PrinterSurface& surface, float& width,
               float& height);

// How far the images move down for the header band: `htjcs` when the header
// is printed, else 0.
float headerShift(const CompositionContext& context);

}  // namespace film_frame

}  // namespace vantorel::direct_composition
