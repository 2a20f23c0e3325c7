#include "template_composition/report_page.h"

#include "direct_composition/film_frame.h"
#include "direct_composition/picture_scaling.h"
#include "template_composition/ac_report.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace vantorel::template_composition {

namespace dc = direct_composition;

namespace {

dc::Picture solidOf(std::uint32_t bgr)
{
    return dc::Picture::solid(static_cast<std::uint8_t>(bgr & 0xFF),
                              static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
                              static_cast<std::uint8_t>((bgr >> 16) & 0xFF));
}

void addFill(dc::FilmPage& page, std::uint32_t colour, dc::RectF rect)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    dc::DrawOp op;
    op.picture = solidOf(colour);
    op.rect = rect;
    page.ops.push_back(std::move(op));
}

// Where a box of width x height goes inside the slot, by the alignment.
dc::RectF aligned(const ReportControl& slot, float width, float height)
{
    float x = slot.left, y = slot.top;
    const float spareX = slot.width - width, spareY = slot.height - height;
    switch (slot.pictureAlignment) {
    case PictureAlignment::TopLeft:
        break;
    case PictureAlignment::TopRight:
        x += spareX;
        break;
    case PictureAlignment::Center:
        x += spareX / 2;
        y += spareY / 2;
        break;
    case PictureAlignment::BottomLeft:
        y += spareY;
        break;
    case PictureAlignment::BottomRight:
        x += spareX;
        y += spareY;
        break;
    }
    return {x, y, width, height};
}

void addTrim(dc::FilmPage& page, const ReportControl& slot, dc::RectF drawn)
{
    if (!slot.trimGrey)
        return;
    for (const dc::RectF& bar : dc::film_frame::trimBars(drawn))
        addFill(page, *slot.trimGrey * 0x010101u, bar);
}

// Where the picture of the slot goes and which part of it; none when nothing shows.
std::optional<dc::DrawOp> placedPicture(const ReportControl& slot)
{
    const dc::Picture& picture = slot.picture;
    dc::DrawOp op;
    op.picture = picture;
    op.magnification = slot.magnification;
    if (slot.magnification == dc::Magnification::None) {
        const auto placed =
            dc::film_frame::placeUnscaled(picture, {slot.left, slot.top, slot.width, slot.height});
        if (!placed)
            return std::nullopt;
        op.picture = placed->picture;
        op.rect = placed->rect;
        return op;
    }
    if (slot.requestedWidth > 0) {
        const float width = slot.requestedWidth;
        const float height = width * picture.height / picture.width;
        op.rect = {slot.left + (slot.width - width) / 2, slot.top + (slot.height - height) / 2, width,
                   height};
        return op;
    }
    switch (slot.sizeMode) {
    case SizeMode::Stretch:
        op.rect = {slot.left, slot.top, slot.width, slot.height};
        break;
    case SizeMode::Zoom: {
        const float scale = std::min(slot.width / static_cast<float>(picture.width),
                                     slot.height / static_cast<float>(picture.height));
        op.rect = aligned(slot, picture.width * scale, picture.height * scale);
        break;
    }
    case SizeMode::Clip: {
        // Its own size, cut to the slot.
        const dc::RectF full =
            aligned(slot, picture.width * twipsPerPicturePixel, picture.height * twipsPerPicturePixel);
        const float left = std::max(full.x, slot.left), top = std::max(full.y, slot.top);
        const float right = std::min(full.x + full.width, slot.left + slot.width);
        const float bottom = std::min(full.y + full.height, slot.top + slot.height);
        const int x0 = static_cast<int>(std::lround((left - full.x) / twipsPerPicturePixel));
        const int y0 = static_cast<int>(std::lround((top - full.y) / twipsPerPicturePixel));
        const int x1 =
            std::min(picture.width, static_cast<int>(std::lround((right - full.x) / twipsPerPicturePixel)));
        const int y1 =
            std::min(picture.height, static_cast<int>(std::lround((bottom - full.y) / twipsPerPicturePixel)));
        if (x1 <= x0 || y1 <= y0)
            return std::nullopt;
        op.picture = dc::cropPicture(picture, x0, y0, x1 - x0, y1 - y0);
        op.rect = {full.x + x0 * twipsPerPicturePixel, full.y + y0 * twipsPerPicturePixel,
                   (x1 - x0) * twipsPerPicturePixel, (y1 - y0) * twipsPerPicturePixel};
        break;
    }
    }
    return op;
}

void addPicture(dc::FilmPage& page, const ReportControl& slot)
{
    if (slot.width <= 0 || slot.height <= 0)
        return;
    if (slot.picture.isNull()) {
        if (slot.emptyGrey)
            addFill(page, *slot.emptyGrey * 0x010101u, {slot.left, slot.top, slot.width, slot.height});
        return;
    }
    std::optional<dc::DrawOp> op = placedPicture(slot);
    if (!op)
        return;
    const dc::RectF drawn = op->rect;
    page.ops.push_back(std::move(*op));
    addTrim(page, slot, drawn);
}

void addLabel(dc::FilmPage& page, const ReportControl& label)
{
    if (label.backFilled)
        addFill(page, label.backColor, {label.left, label.top, label.width, label.height});
    if (label.text.empty())
        return;
    dc::DrawOp op;
    op.kind = dc::DrawOp::Kind::Text;
    op.rect = {label.left, label.top, label.width, label.height};
    op.text = label.text;
    op.style.colour = label.foreColor;
    op.style.font = label.fontName;
    op.style.pointSize = label.fontSize;
    op.style.bold = label.bold;
    page.ops.push_back(std::move(op));
}

// Horizontal and vertical rules; a slanted line is not drawn.
void addLine(dc::FilmPage& page, const ReportControl& line)
{
    const float weight = std::max(line.lineWeight, 1.0f);
    if (line.y1 == line.y2)
        addFill(page, line.lineColor,
                {std::min(line.x1, line.x2), line.y1 - weight / 2, std::fabs(line.x2 - line.x1), weight});
    else if (line.x1 == line.x2)
        addFill(page, line.lineColor,
                {line.x1 - weight / 2, std::min(line.y1, line.y2), weight, std::fabs(line.y2 - line.y1)});
}

bool grey(std::uint32_t bgr)
{
    return (bgr & 0xFF) == ((bgr >> 8) & 0xFF) && (bgr & 0xFF) == ((bgr >> 16) & 0xFF);
}

}  // namespace

dc::FilmPage layoutReportPage(const AcReport& report)
{
    const ReportPageSettings& settings = report.page();
    dc::FilmPage page;
    page.printer = report.printerName();
    page.pageWidth = settings.sheetWidth();
    page.pageHeight = settings.sheetHeight();
    page.originX = settings.marginLeft;
    page.originY = settings.marginTop;
    for (const ReportControl& control : report.controls()) {
        if (!control.visible)
            continue;
        switch (control.kind) {
        case ReportControl::Kind::Image:
            addPicture(page, control);
            break;
        case ReportControl::Kind::Label:
            addLabel(page, control);
            break;
        case ReportControl::Kind::Line:
            addLine(page, control);
            break;
        case ReportControl::Kind::Shape:
            if (control.backFilled)
                addFill(page, control.backColor, {control.left, control.top, control.width, control.height});
            break;
        }
    }
    page.ending = dc::FilmPage::Ending::Ended;
    return page;
}

bool isGrayPage(const dc::FilmPage& page)
{
    for (const dc::DrawOp& op : page.ops) {
        if (op.kind == dc::DrawOp::Kind::Text) {
            if (!grey(op.style.colour))
                return false;
            continue;
        }
        const dc::Picture& p = op.picture;
        if (p.format == dc::Picture::Format::Gray8)
            continue;
        if (p.width == 1 && p.height == 1 && !p.isNull() && (*p.pixels)[0] == (*p.pixels)[1] &&
            (*p.pixels)[0] == (*p.pixels)[2])
            continue;
        return false;
    }
    return true;
}

}  // namespace vantorel::template_composition
