#include "direct_composition/recording_surface.h"

#include <algorithm>

namespace vantorel::direct_composition {

RecordingSurface::RecordingSurface(std::vector<std::string> printers, float portraitWidth,
                                   float portraitHeight)
    : printers_(std::move(printers)), portraitWidth_(portraitWidth), portraitHeight_(portraitHeight)
{
    if (!printers_.empty())
        current_ = printers_.front();
    page_ = freshPage();
}

bool RecordingSurface::selectPrinter(const std::string& name)
{
    if (std::find(printers_.begin(), printers_.end(), name) == printers_.end())
        return false;
    current_ = name;
    return true;
}

void RecordingSurface::setOrigin(double leftMillimetres, double topMillimetres)
{
    originX_ = static_cast<float>(leftMillimetres * twipsPerMillimetre);
    originY_ = static_cast<float>(topMillimetres * twipsPerMillimetre);
    if (page_.ops.empty())
        page_ = freshPage();
}

float RecordingSurface::pageWidth() const
{
    return orientation_ == Orientation::Portrait ? portraitWidth_ : portraitHeight_;
}

float RecordingSurface::pageHeight() const
{
    return orientation_ == Orientation::Portrait ? portraitHeight_ : portraitWidth_;
}

void RecordingSurface::setSheet(float portraitWidth, float portraitHeight)
{
    portraitWidth_ = portraitWidth;
    portraitHeight_ = portraitHeight;
}

bool RecordingSurface::drawPicture(const Picture& picture, float x, float y, float width,
                                   float height)
{
    return drawScaledPicture(picture, x, y, width, height, Magnification::Bilinear);
}

bool RecordingSurface::drawScaledPicture(const Picture& picture, float x, float y, float width,
                                         float height, Magnification magnification)
{
    if (picture.isNull())
        return false;
    if (page_.ops.empty())
        page_ = freshPage();  // the document begins with its first drawing
    DrawOp op;
    op.kind = DrawOp::Kind::Picture;
    op.picture = picture;
    op.rect = {x, y, width, height};
    op.magnification = magnification;
    page_.ops.push_back(std::move(op));
    return true;
}

void RecordingSurface::setTextPosition(float x, float y)
{
    textX_ = x;
    textY_ = y;
}

void RecordingSurface::printText(const std::string& text)
{
    if (page_.ops.empty())
        page_ = freshPage();
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.rect = {textX_, textY_, 0, 0};
    op.text = text;
    op.style = style_;
    page_.ops.push_back(std::move(op));
}

bool RecordingSurface::endDocument()
{
    if (page_.ops.empty())
        page_ = freshPage();
    FilmPage page = std::move(page_);
    page.ending = FilmPage::Ending::Ended;
    page_ = freshPage();
    const PageRelease release = releasePage(page);
    if (pageEnded_)
        pageEnded_(page, release);
    keep(std::move(page));
    return release.released;
}

void RecordingSurface::abortDocument()
{
    if (page_.ops.empty())
        page_ = freshPage();
    FilmPage page = std::move(page_);
    page.ending = FilmPage::Ending::Aborted;
    page_ = freshPage();
    keep(std::move(page));
}

void RecordingSurface::keep(FilmPage page)
{
    if (keepDocuments_)
        documents_.push_back(std::move(page));
}

std::vector<FilmPage> RecordingSurface::endedDocuments() const
{
    std::vector<FilmPage> ended;
    for (const auto& page : documents_) {
        if (page.ending == FilmPage::Ending::Ended)
            ended.push_back(page);
    }
    return ended;
}

PageRelease RecordingSurface::releasePage(const FilmPage&)
{
    return {};
}

FilmPage RecordingSurface::freshPage() const
{
    FilmPage page;
    page.printer = current_;
    page.pageWidth = pageWidth();
    page.pageHeight = pageHeight();
    page.originX = originX_;
    page.originY = originY_;
    return page;
}

}  // namespace vantorel::direct_composition
