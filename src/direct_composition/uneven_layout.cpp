#include "direct_composition/uneven_layout.h"

#include "console/run_log.h"
#include "console/settings_conversions.h"
#include "direct_composition/requested_size.h"

#include <string>
#include <vector>

namespace vantorel::direct_composition {

namespace {

struct Cell {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

double whole(double value)
{
    return console::roundHalfEven(value);
}

bool isSupported(int a, int b)
{
    return (a == 1 && b == 2) || (a == 2 && b == 1) || (a == 2 && b == 3) || (a == 3 && b == 2);
}

// Two rows (or columns) of equal size; the first holds a cells, the second b.
std::vector<Cell> unevenCells(bool byColumn, int a, int b, double W, double H)
{
    std::vector<Cell> cells;
    const int counts[2] = {a, b};
    for (int line = 0; line < 2; ++line) {
        const int k = counts[line];
        for (int i = 0; i < k; ++i) {
            if (byColumn) {
                const double cw = whole(W / 2), ch = whole(H / k);
                cells.push_back({line * cw, i * ch, cw, ch});
            } else {
                const double cw = whole(W / k), ch = whole(H / 2);
                cells.push_back({i * cw, line * ch, cw, ch});
            }
        }
    }
    return cells;
}

RectF boxOf(const Cell& cell, float hy)
{
    return RectF{static_cast<float>(cell.x), static_cast<float>(cell.y + hy),
                 static_cast<float>(cell.width), static_cast<float>(cell.height)};
}

// The image fitted into its cell with its aspect kept and centred: the column
// layout tries the cell width first, the row layout the cell height first.
void drawFitted(const CompositionContext& context, PrinterSurface& surface, const FilmImage& image,
                const Picture& picture, const Cell& cell, bool byColumn, float hy)
{
    const double r = static_cast<double>(picture.width) / picture.height;
    double dw, dh, x;
    if (byColumn) {
        dw = cell.width;
        dh = whole(cell.width / r);
        x = cell.x;
        if (dh > cell.height) {
            dh = cell.height;
            dw = whole(cell.height * r);
            x = whole((cell.width - dw) / 2 + cell.x);
        }
    } else {
        dh = cell.height;
        dw = whole(cell.height * r);
        x = whole((cell.width - dw) / 2 + cell.x);
        if (dw > cell.width) {
            dw = cell.width;
            dh = whole(cell.width / r);
            x = cell.x;
        }
    }
    const double y = whole((cell.height - dh) / 2 + cell.y);
    film_frame::drawImage(context, surface, image, picture,
                          RectF{static_cast<float>(x), static_cast<float>(y + hy),
                                static_cast<float>(dw), static_cast<float>(dh)},
                          boxOf(cell, hy));
}

}  // namespace

ComposedFilm PrintImgtoPrinter_rc(const CompositionContext& context, PrinterSurface& surface,
                                  const FilmImages& images, RectF area, FilmGrid grid,
                                  const std::string& rc)
{
    const int n = imageCount(images);
    const int cols = grid.cols, rows = grid.rows;
    context.log.write("不均衡排版 cols=" + std::to_string(cols));
    context.log.write("rows=" + std::to_string(rows));
    context.log.write("本次发送图像数目：" + std::to_string(n));
    const FilmEnd checked = film_frame::checkImageCount(context, surface, n, cols + rows);
    if (checked != FilmEnd::Ended)
        return {checked, area};

    area = film_frame::drawFrame(context, surface, area);
    const float hy = film_frame::headerShift(context);

    const bool byColumn = rc == "COL";
    if (!(byColumn || rc == "ROW") || !isSupported(cols, rows)) {
        // Said in the log: otherwise a film that never reaches the printer
        // leaves no trace of why.
        context.log.write("display format " + rc + "\\" + std::to_string(cols) + "," +
                          std::to_string(rows) + " is not supported, film not printed");
        surface.abortDocument();
        return {FilmEnd::UnsupportedFormat, area};
    }
    const auto cells = unevenCells(byColumn, cols, rows, area.width, area.height);
    RequestedSize requested(context);
    for (std::size_t i = 0; i < images.size() && i < cells.size(); ++i) {
        const Cell& cell = cells[i];
        if (!images[i]) {
            film_frame::drawEmptyCell(context, surface, boxOf(cell, hy));
            continue;
        }
        if (requested.draw(surface, *images[i], cell.x, cell.y + hy, cell.width, cell.height))
            continue;
        const Picture picture = images[i]->picture();
        if (!picture.isNull())
            drawFitted(context, surface, *images[i], picture, cells[i], byColumn, hy);
    }
    surface.endDocument();
    return {FilmEnd::Ended, area};
}

}  // namespace vantorel::direct_composition
