#pragma once

#include "direct_composition/printer_surface.h"

#include <functional>
#include <string>
#include <vector>

namespace vantorel::direct_composition {

// What became of an ended page: released to the printer, or not and why (the
// system's or the printer's own words).
struct PageRelease {
    bool released = true;
    std::string failure;

    static PageRelease refused(std::string why) { return {false, std::move(why)}; }
};

// A surface that draws the current document into a FilmPage. endDocument
// hands the finished page to releasePage (a real surface prints it there) and
// then tells the page-ended listener; abortDocument drops the page unprinted.
// No page is kept once it is ended or aborted, so that a surface that runs for
// hours does not hold a film's pictures until the next film. The sheet size is
// given (default A4 portrait, 11900 x 16840 twips).
class FilmPageSurface : public PrinterSurface {
public:
    explicit FilmPageSurface(std::vector<std::string> printers = {"FilmFile"}, float portraitWidth = 11900,
                             float portraitHeight = 16840);

    std::vector<std::string> listPrinters() const override { return printers_; }
    [[nodiscard]] bool selectPrinter(const std::string& name) override;
    std::string currentPrinter() const override { return current_; }
    void setOrientation(Orientation orientation) override { orientation_ = orientation; }
    void setOrigin(double leftMillimetres, double topMillimetres) override;
    float pageWidth() const override;
    float pageHeight() const override;

    [[nodiscard]] bool drawPicture(const Picture& picture, float x, float y, float width,
                                   float height) override;
    [[nodiscard]] bool drawScaledPicture(const Picture& picture, float x, float y, float width, float height,
                                         Magnification magnification) override;
    void setTextPosition(float x, float y) override;
    void setTextStyle(const TextStyle& style) override { style_ = style; }
    void printText(const std::string& text) override;
    [[nodiscard]] bool endDocument() override;
    void abortDocument() override;

    Orientation orientation() const { return orientation_; }
    void setSheet(float portraitWidth, float portraitHeight);

    const FilmPage& currentPage() const { return page_; }

    // Told of every ended page, after the printer took it or refused it: the
    // one event that says a film page is finished.
    using PageEndedListener = std::function<void(const FilmPage&, const PageRelease&)>;
    void setPageEndedListener(PageEndedListener listener) { pageEnded_ = std::move(listener); }

protected:
    // Called with a finished page; a real surface prints it here.
    virtual PageRelease releasePage(const FilmPage& page) = 0;

    // Called last with every page that was ended (after its listener was
    // told) or aborted; the page is dropped afterwards.
    virtual void pageClosed(FilmPage /*page*/) {}

private:
    FilmPage freshPage() const;

    std::vector<std::string> printers_;
    std::string current_;
    Orientation orientation_ = Orientation::Portrait;
    float portraitWidth_;
    float portraitHeight_;
    float originX_ = 0;
    float originY_ = 0;
    float textX_ = 0;
    float textY_ = 0;
    TextStyle style_;
    FilmPage page_;
    PageEndedListener pageEnded_;
};

}  // namespace vantorel::direct_composition
