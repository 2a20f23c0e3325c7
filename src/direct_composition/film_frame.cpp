#include "direct_composition/film_frame.h"

#include "base/number_rules.h"
#include "base/operator_messages.h"
#include "base/run_log.h"
#include "settings/settings_model.h"

#include "direct_composition/picture_scaling.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vantorel::direct_composition {

int imageCount(const FilmImages& images)
{
    int n = 0;
    for (const auto& image : images)
        n += image ? 1 : 0;
    return n;
}

}  // namespace vantorel::direct_composition

namespace vantorel::direct_composition::film_frame {

namespace {

std::string upperAscii(std::string text)
{
    for (auto& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

void drawBlackBase(const CompositionContext& context, PrinterSurface& surface, float width, float height)
{
    if (context.settings.blackBase == 0)
        return;
    context.log.write("开始打印黑色底纹。");
    const std::uint8_t grey = context.appearance.baseGrey;
    // A solid picture is never null, so the surface always takes it.
    (void)surface.drawPicture(Picture::solid(grey, grey, grey), 0,
                              static_cast<float>(context.settings.header.htjcs), width, height);
}

void drawCustomHeader(const CompositionContext& context, PrinterSurface& surface)
{
    if (!context.headerPictures.customHeaderExists()) {
        context.messages.show("启用自定义图片医院名称时，请在【" + context.programFolder +
                                  "/医院名称】文件夹中放入医院名称图片【yymc.bmp】才能打印。",
                              "图片未找到", base::MessageIcon::Critical);
        return;
    }
    // A yymc.bmp that cannot be read (a null picture) leaves the band empty;
    // the film is printed all the same.
    (void)surface.drawPicture(context.headerPictures.loadCustomHeader(), 0, 0, surface.pageWidth(),
                              static_cast<float>(context.settings.header.htjcs));
}

void drawGeneratedHeader(const CompositionContext& context, PrinterSurface& surface)
{
    const auto& header = context.settings.header;
    const auto left = static_cast<float>(base::leadingNumber(header.hleft));
    const auto top = static_cast<float>(base::leadingNumber(header.htop));
    // Without cross.bmp (a null icon) the header is the name alone.
    (void)surface.drawPicture(context.headerPictures.crossIcon(), left, top, 700, 700);

    TextStyle style;
    const double colour = base::roundHalfEven(base::leadingNumber(header.hys));
    // A colour beyond 32 bits cannot be a colour at all: the text stays black
    // (and the conversion below stays defined).
    const bool usable = colour >= 0 && colour <= 4294967295.0;
    style.colour = usable ? static_cast<std::uint32_t>(colour) & 0x00FFFFFFu : 0u;
    style.font = header.hzt;
    style.pointSize = base::leadingNumber(header.hzh);
    style.bold = upperAscii(header.hct) == "TRUE";
    surface.setTextPosition(left + 980, top);
    surface.setTextStyle(style);
    surface.printText(header.hname);
}

void drawHeaderBand(const CompositionContext& context, PrinterSurface& surface)
{
    if (context.settings.printHeader == 0)
        return;
    if (context.settings.header.yyname == "1")
        drawCustomHeader(context, surface);
    else
        drawGeneratedHeader(context, surface);
}

// The base's grey: the film box's while the black base is on, else the
// paper's white.
std::uint8_t baseGrey(const CompositionContext& context)
{
    return context.settings.blackBase != 0 ? context.appearance.baseGrey : 255;
}

void fill(PrinterSurface& surface, std::uint8_t grey, float x, float y, float width, float height)
{
    // A solid picture is never null, so the surface always takes it.
    (void)surface.drawPicture(Picture::solid(grey, grey, grey), x, y, width, height);
}

void drawTrim(const CompositionContext& context, PrinterSurface& surface, RectF r)
{
    const std::uint8_t grey = trimGreyOn(baseGrey(context));
    for (const RectF& bar : trimBars(r))
        fill(surface, grey, bar.x, bar.y, bar.width, bar.height);
}

// The image's own picture at one pixel per dot, centred in the cell and
// cropped to it; the rectangle it was drawn in, or none.
[[nodiscard]] std::optional<RectF> drawUnscaled(PrinterSurface& surface, const Picture& picture, RectF cell)
{
    const std::optional<PlacedPicture> placed = placeUnscaled(picture, cell);
    if (!placed ||
        !surface.drawScaledPicture(placed->picture, placed->rect.x, placed->rect.y, placed->rect.width,
                                   placed->rect.height, Magnification::None))
        return std::nullopt;
    return placed->rect;
}

}  // namespace

std::array<RectF, 4> trimBars(RectF r)
{
    const float t = std::min({trimWidth, r.width / 2, r.height / 2});
    return {RectF{r.x, r.y, r.width, t}, RectF{r.x, r.y + r.height - t, r.width, t},
            RectF{r.x, r.y + t, t, r.height - 2 * t}, RectF{r.x + r.width - t, r.y + t, t, r.height - 2 * t}};
}

std::uint8_t trimGreyOn(std::uint8_t baseGrey)
{
    return baseGrey < 128 ? 255 : 0;
}

std::optional<PlacedPicture> placeUnscaled(const Picture& picture, RectF cell)
{
    constexpr double twipsPerDot = 1440.0 / unscaledDotsPerInch;
    const int cols = std::min(picture.width, static_cast<int>(std::floor(cell.width / twipsPerDot + 1e-6)));
    const int rows = std::min(picture.height, static_cast<int>(std::floor(cell.height / twipsPerDot + 1e-6)));
    const Picture visible =
        cropPicture(picture, (picture.width - cols) / 2, (picture.height - rows) / 2, cols, rows);
    if (visible.isNull())
        return std::nullopt;
    return PlacedPicture{visible,
                         RectF{static_cast<float>(cell.x + (cell.width - cols * twipsPerDot) / 2),
                               static_cast<float>(cell.y + (cell.height - rows * twipsPerDot) / 2),
                               static_cast<float>(cols * twipsPerDot),
                               static_cast<float>(rows * twipsPerDot)}};
}

void drawImage(const CompositionContext& context, PrinterSurface& surface, const FilmImage& image,
               const Picture& fitted, RectF rect, RectF cell)
{
    std::optional<RectF> drawn;
    if (image.magnification() == Magnification::None)
        drawn = drawUnscaled(surface, image.picture(), cell);
    else if (surface.drawScaledPicture(fitted, rect.x, rect.y, rect.width, rect.height,
                                       image.magnification()))
        drawn = rect;
    if (drawn && context.appearance.trim)
        drawTrim(context, surface, *drawn);
}

void drawEmptyCell(const CompositionContext& context, PrinterSurface& surface, RectF cell)
{
    if (context.settings.blackBase == 0 || !context.appearance.emptyCellGrey)
        return;
    fill(surface, *context.appearance.emptyCellGrey, cell.x, cell.y, cell.width, cell.height);
}

FilmEnd checkImageCount(const CompositionContext& context, PrinterSurface& surface, int n, int cells)
{
    if (n == 0) {
        context.log.write("片盒内图像数=0，终止本次打印任务。");
        surface.abortDocument();
        return FilmEnd::NoImages;
    }
    if (n > cells) {
        context.log.write("片盒内图像数目=" + std::to_string(cells) + "，实际接收到" + std::to_string(n) +
                          "幅,终止本次打印任务。");
        surface.abortDocument();
        return FilmEnd::TooManyImages;
    }
    return FilmEnd::Ended;
}

RectF drawFrame(const CompositionContext& context, PrinterSurface& surface, RectF area)
{
    const double q = static_cast<double>(area.width) / area.height;
    const double b = context.settings.marginBottom;
    // Deliberate: the height shrinks by the width-to-height ratio of the area
    // (not by the plain margin), as films have always been laid out; sites
    // set their bottom margin against this result.
    area.width = static_cast<float>(area.width - 10.0 * b);
    area.height = static_cast<float>(area.height - 10.0 * b * q);
    drawBlackBase(context, surface, area.width, area.height);
    drawHeaderBand(context, surface);
    return area;
}

float headerShift(const CompositionContext& context)
{
    return context.settings.printHeader != 0 ? static_cast<float>(context.settings.header.htjcs) : 0.0f;
}

}  // namespace vantorel::direct_composition::film_frame
