#include "direct_composition/standard_layout.h"

#include "base/run_log.h"
#include "direct_composition/requested_size.h"

#include <string>

namespace vantorel::direct_composition {

namespace {

struct Grid {
    float x = 0;  // grid origin
    float y = 0;
    float width = 0;
    float height = 0;
    int cols = 1;
};

// Walks the cells of the grid. An empty cell gets the film's empty-cell fill
// over `cellBox(col, row)`. An image that asked for a printed size and fits
// its cell is drawn at that size here; every other one is handed to `draw`
// with its column and row.
template <typename CellBox, typename Draw>
void forEachImageCell(const CompositionContext& context, PrinterSurface& surface, const FilmImages& images,
                      const Grid& grid, int rows, CellBox cellBox, Draw draw)
{
    const double cw = static_cast<double>(grid.width) / grid.cols;
    const double ch = static_cast<double>(grid.height) / rows;
    const double hy = film_frame::headerShift(context);
    RequestedSize requested(context);
    const std::size_t cells = static_cast<std::size_t>(grid.cols) * rows;
    for (std::size_t i = 0; i < images.size() && i < cells; ++i) {
        const auto col = static_cast<int>(i) % grid.cols;
        const auto row = static_cast<int>(i) / grid.cols;
        if (!images[i]) {
            film_frame::drawEmptyCell(context, surface, cellBox(col, row));
            continue;
        }
        if (!requested.draw(surface, *images[i], grid.x + col * cw, grid.y + row * ch + hy, cw, ch))
            draw(*images[i], col, row);
    }
}

// Every image centred in its own cell in a square box of the smaller cell side;
// non-square images are padded to squares first.
void squareCellLayout(const CompositionContext& context, PrinterSurface& surface, const FilmImages& images,
                      const Grid& grid, int rows)
{
    const double cw = static_cast<double>(grid.width) / grid.cols;
    const double ch = static_cast<double>(grid.height) / rows;
    const auto side = static_cast<float>(cw < ch ? cw : ch);
    const double dx = cw > ch ? (cw - ch) / 2 : 0;
    const double dy = (ch > cw ? (ch - cw) / 2 : 0) + film_frame::headerShift(context);
    const auto box = [&](int col, int row) {
        return RectF{static_cast<float>(grid.x + col * cw + dx), static_cast<float>(grid.y + row * ch + dy),
                     side, side};
    };
    forEachImageCell(
        context, surface, images, grid, rows, box, [&](const FilmImage& image, int col, int row) {
            const RectF square = box(col, row);
            if (image.pixelWidth() == image.pixelHeight() || image.magnification() == Magnification::None) {
                film_frame::drawImage(context, surface, image, image.picture(), square, square);
                return;
            }
            const auto squared = image.Rsize();
            if (squared)
                film_frame::drawImage(context, surface, image, squared->picture(), square, square);
        });
}

// Every image fitted into the cell size with its aspect kept; images step by
// their drawn size, so equal images touch each other edge to edge.
void packedAspectLayout(const CompositionContext& context, PrinterSurface& surface, const FilmImages& images,
                        const Grid& grid, int rows)
{
    const double cw = static_cast<double>(grid.width) / grid.cols;
    const double ch = static_cast<double>(grid.height) / rows;
    const double hy = film_frame::headerShift(context);
    const auto cell = [&](int col, int row) {
        return RectF{static_cast<float>(grid.x + col * cw), static_cast<float>(grid.y + row * ch + hy),
                     static_cast<float>(cw), static_cast<float>(ch)};
    };
    forEachImageCell(context, surface, images, grid, rows, cell,
                     [&](const FilmImage& image, int col, int row) {
                         const Picture picture = image.picture();
                         if (picture.isNull())
                             return;  // nothing to draw: the next image goes on
                         const double r = static_cast<double>(picture.width) / picture.height;
                         double dw, dh, dx, dy;
                         if (ch / cw >= 1 / r) {
                             dw = cw;
                             dh = cw / r;
                             dx = 0;
                             dy = (ch - dh) / 2;
                         } else {
                             dh = ch;
                             dw = ch * r;
                             dx = (cw - dw) / 2;
                             dy = 0;
                         }
                         dy += hy;
                         const RectF rect{static_cast<float>(grid.x + dx + col * dw),
                                          static_cast<float>(grid.y + dy + row * dh), static_cast<float>(dw),
                                          static_cast<float>(dh)};
                         film_frame::drawImage(context, surface, image, picture, rect, cell(col, row));
                     });
}

}  // namespace

ComposedFilm PrintImgtoPrinter(const CompositionContext& context, PrinterSurface& surface,
                               const FilmImages& images, RectF area, FilmGrid grid)
{
    const int n = imageCount(images);
    const int cols = grid.cols, rows = grid.rows;
    context.log.write("cols=" + std::to_string(cols));
    context.log.write("rows=" + std::to_string(rows));
    context.log.write("本次发送图像数目：" + std::to_string(n));
    const FilmEnd checked = film_frame::checkImageCount(context, surface, n, cols * rows);
    if (checked != FilmEnd::Ended)
        return {checked, area};

    area = film_frame::drawFrame(context, surface, area);

    const Grid cells{area.x, area.y, area.width, area.height, cols};
    if (cols * rows > 6)
        squareCellLayout(context, surface, images, cells, rows);
    else
        packedAspectLayout(context, surface, images, cells, rows);
    // Whether the printer took the page reaches the print job, with the
    // reason, through the surface's page-ended listener.
    (void)surface.endDocument();
    return {FilmEnd::Ended, area};
}

}  // namespace vantorel::direct_composition
