#include "direct_composition/film_page_surface.h"

#include <algorithm>

namespace vantorel::direct_composition {

FilmPageSurface::FilmPageSurface(std::vector<std::string> printers, float portraitWidth, float portraitHeight)
    : printers_(std::move(printers)), portraitWidth_(portraitWidth), portraitHeight_(portraitHeight)
{
    if (!printers_.empty())
        current_ = printers_.front();
    page_ = freshPage();
}

bool FilmPageSurface::selectPrinter(const std::string& name)
{
    if (std::find(printers_.begin(), printers_.end(), name) == printers_.end())
        return false;
    current_ = name;
    return true;
}

void FilmPageSurface::setOrigin(double leftMillimetres, double topMillimetres)
{
    originX_ = static_cast<float>(leftMillimetres * twipsPerMillimetre);
    originY_ = static_cast<float>(topMillimetres * twipsPerMillimetre);
    if (page_.ops.empty())
        page_ = freshPage();
}

float FilmPageSurface::pageWidth() const
{
    return orientation_ == Orientation::Portrait ? portraitWidth_ : portraitHeight_;
}

float FilmPageSurface::pageHeight() const
{
    return orientation_ == Orientation::Portrait ? portraitHeight_ : portraitWidth_;
}

void FilmPageSurface::setSheet(float portraitWidth, float portraitHeight)
{
    portraitWidth_ = portraitWidth;
    portraitHeight_ = portraitHeight;
}

bool FilmPageSurface::drawPicture(const Picture& picture, float x, float y, float width, float height)
{
    return drawScaledPicture(picture, x, y, width, height, Magnification::Bilinear);
}

bool FilmPageSurface::drawScaledPicture(const Picture& picture, float x, float y, float width, float height,
                                        Magnification magnification)
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

void FilmPageSurface::setTextPosition(float x, float y)
{
    textX_ = x;
    textY_ = y;
}

void FilmPageSurface::printText(const std::string& text)
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

bool FilmPageSurface::endDocument()
{
    if (page_.ops.empty())
        page_ = freshPage();
    FilmPage page = std::move(page_);
    page.ending = FilmPage::Ending::Ended;
    page_ = freshPage();
    const PageRelease release = releasePage(page);
    if (pageEnded_)
        pageEnded_(page, release);
    pageClosed(std::move(page));
    return release.released;
}

void FilmPageSurface::abortDocument()
{
    if (page_.ops.empty())
        page_ = freshPage();
    FilmPage page = std::move(page_);
    page.ending = FilmPage::Ending::Aborted;
    page_ = freshPage();
    pageClosed(std::move(page));
}

FilmPage FilmPageSurface::freshPage() const
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
