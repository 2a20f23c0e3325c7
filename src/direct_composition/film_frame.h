#pragma once

#include "base/fwd.h"
#include "direct_composition/film_image.h"
#include "direct_composition/printer_surface.h"
#include "settings/fwd.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// The images of one film, one entry per cell in film order (top-left cell
// first, row by row); a null entry is a cell whose image box holds no image.
using FilmImages = std::vector<std::unique_ptr<FilmImage>>;

// How composing one film ended: the page was ended (and released to the
// printer, which may still refuse it), or the film was abandoned.
enum class FilmEnd { Ended, NoImages, TooManyImages, UnsupportedFormat };

// The number of cells that hold an image.
int imageCount(const FilmImages& images);

// The counts of a display format: the columns and rows of STANDARD\c,r, or
// the first two counts of ROW\a,b,... and COL\a,b,... with every count in
// `lines` (empty: the two counts a and b).
struct FilmGrid {
    std::int16_t cols = 1;
    std::int16_t rows = 1;
    std::vector<int> lines = {};
};

// How composing one film ended, and the image area (in twips) it was laid out
// in: after the bottom adjustment, or as given when the film was abandoned first.
struct ComposedFilm {
    FilmEnd end = FilmEnd::Ended;
    RectF area;
};

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

// How the film box asks its film to look around and between its pictures.
// The default is a plain film: the base as the black-base setting makes it,
// empty cells showing the base, no trim.
struct FilmAppearance {
    // Border Density: the base's grey while the black base is on.
    std::uint8_t baseGrey = 0;
    // Empty Image Density: the grey of a cell whose image box holds no image;
    // none: the base shows through.
    std::optional<std::uint8_t> emptyCellGrey;
    // Trim YES: a thin line at the base's opposite tone around every picture.
    bool trim = false;
    // Border Density was sent: a template's own base takes baseGrey.
    bool baseGreySent = false;
};

// What composition reads besides the film: the live settings (black base,
// header switch, bottom adjustment, header values), the run log, the operator
// messages, the header pictures and the home folder (named in a message).
struct CompositionContext {
    const settings::CompositionSettings& settings;
    base::RunLog& log;
    base::OperatorMessages& messages;
    const HeaderPictures& headerPictures;
    std::string programFolder;
    FilmAppearance appearance{};  // of the film being composed
};

// The steps that the standard and the uneven layouts share.
namespace film_frame {

// The count checks, on the number of images n of a film of `cells` cells:
// NoImages or TooManyImages (with their log lines, and the document aborted)
// when the film has no image or more images than cells; Ended when it goes on.
// A film with some empty cells goes on: it prints the images it has.
FilmEnd checkImageCount(const CompositionContext& context, PrinterSurface& surface, int n, int cells);

// Area ratio, bottom adjustment, black base and header band, in this order;
// returns the area reduced by the bottom adjustment.
RectF drawFrame(const CompositionContext& context, PrinterSurface& surface, RectF area);

// Where a picture of `image` goes: `fitted` (the picture the layout chose,
// e.g. padded to a square) stretched into `rect` as the image's magnification
// asks; with magnification NONE the image's own picture instead, one pixel
// per printer dot at 300 dpi, centred in `cell` and cropped to it. Then the
// trim, when the film box asked for it, around what was drawn.
void drawImage(const CompositionContext& context, PrinterSurface& surface, const FilmImage& image,
               const Picture& fitted, RectF rect, RectF cell);

// A cell whose image box holds no image: filled with the Empty Image Density
// while the black base is on; otherwise nothing is drawn.
void drawEmptyCell(const CompositionContext& context, PrinterSurface& surface, RectF cell);

// Printer dots per inch that magnification NONE prints one pixel on.
inline constexpr double unscaledDotsPerInch = 300;
// The trim line's width, twips: a quarter of a millimetre.
inline constexpr float trimWidth = static_cast<float>(0.25 * 1440 / 25.4);

// The trim around a picture drawn in `r`: four bars of trimWidth just inside
// it, so the line never reaches into a neighbouring picture or out of the cell.
std::array<RectF, 4> trimBars(RectF r);
// The trim's grey on a base of `baseGrey`: white on a dark base, black on a light one.
std::uint8_t trimGreyOn(std::uint8_t baseGrey);

// A picture and where it goes.
struct PlacedPicture {
    Picture picture;
    RectF rect;
};
// Magnification NONE: `picture` at one pixel per printer dot at
// unscaledDotsPerInch, centred in `cell` and cropped to it; none when nothing
// of it fits.
std::optional<PlacedPicture> placeUnscaled(const Picture& picture, RectF cell);

// How far the images move down for the header band: `htjcs` when the header
// is printed, else 0.
float headerShift(const CompositionContext& context);

}  // namespace film_frame

}  // namespace vantorel::direct_composition
