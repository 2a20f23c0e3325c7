#include "direct_composition/uneven_layout.h"

#include "base/number_rules.h"
#include "base/run_log.h"
#include "direct_composition/requested_size.h"

#include <algorithm>
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
    return base::roundHalfEven(value);
}

// Every row (column) holds at least one cell. How many a film may hold is
// decided when the film box is created.
bool isSupported(const std::vector<int>& lines)
{
    return !lines.empty() && std::all_of(lines.begin(), lines.end(), [](int k) { return k >= 1; });
}

// Rows (or columns) of equal size; row (column) i holds lines[i] cells of
// equal size.
std::vector<Cell> unevenCells(bool byColumn, const std::vector<int>& lines, double width, double height)
{
    std::vector<Cell> cells;
    const int n = static_cast<int>(lines.size());
    for (int line = 0; line < n; ++line) {
        const int k = lines[line];
        for (int i = 0; i < k; ++i) {
            if (byColumn) {
                const double cw = whole(width / n), ch = whole(height / k);
                cells.push_back({line * cw, i * ch, cw, ch});
            } else {
                const double cw = whole(width / k), ch = whole(height / n);
                cells.push_back({i * cw, line * ch, cw, ch});
            }
        }
    }
    return cells;
}

RectF boxOf(const Cell& cell, float hy)
{
    return RectF{static_cast<float>(cell.x), static_cast<float>(cell.y + hy), static_cast<float>(cell.width),
                 static_cast<float>(cell.height)};
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
                          RectF{static_cast<float>(x), static_cast<float>(y + hy), static_cast<float>(dw),
                                static_cast<float>(dh)},
                          boxOf(cell, hy));
}

}  // namespace

std::string countsText(const std::vector<int>& lines)
{
    std::string text;
    for (int k : lines)
        text += (text.empty() ? "" : ",") + std::to_string(k);
    return text;
}

ComposedFilm PrintImgtoPrinter_rc(const CompositionContext& context, PrinterSurface& surface,
                                  const FilmImages& images, RectF area, FilmGrid grid, const std::string& rc)
{
    const int n = imageCount(images);
    const int cols = grid.cols, rows = grid.rows;
    const std::vector<int> lines = grid.lines.empty() ? std::vector<int>{cols, rows} : grid.lines;
    context.log.write("不均衡排版 cols=" + std::to_string(cols));
    context.log.write("rows=" + std::to_string(rows));
    context.log.write("本次发送图像数目：" + std::to_string(n));
    int cellTotal = 0;
    for (int k : lines)
        cellTotal += k;
    const FilmEnd checked = film_frame::checkImageCount(context, surface, n, cellTotal);
    if (checked != FilmEnd::Ended)
        return {checked, area};

    area = film_frame::drawFrame(context, surface, area);
    const float hy = film_frame::headerShift(context);

    const bool byColumn = rc == "COL";
    if (!(byColumn || rc == "ROW") || !isSupported(lines)) {
        // Said in the log: otherwise a film that never reaches the printer
        // leaves no trace of why.
        context.log.write("display format " + rc + "\\" + countsText(lines) +
                          " is not supported, film not printed");
        surface.abortDocument();
        return {FilmEnd::UnsupportedFormat, area};
    }
    const auto cells = unevenCells(byColumn, lines, area.width, area.height);
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
    // Whether the printer took the page reaches the print job, with the
    // reason, through the surface's page-ended listener.
    (void)surface.endDocument();
    return {FilmEnd::Ended, area};
}

}  // namespace vantorel::direct_composition
