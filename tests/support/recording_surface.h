#pragma once

#include "direct_composition/film_page_surface.h"

#include <string>
#include <utility>
#include <vector>

namespace vantorel::testing {

// A film page surface whose printer takes every page, and which keeps every
// ended and aborted document in order, so that tests can assert exact
// rectangles. Keeping can be switched off to stand in for a real printer,
// which keeps no page.
class RecordingSurface : public direct_composition::FilmPageSurface {
public:
    using FilmPage = direct_composition::FilmPage;

    using FilmPageSurface::FilmPageSurface;

    // Every document that was ended or aborted, oldest first.
    const std::vector<FilmPage>& documents() const { return documents_; }

    std::vector<FilmPage> endedDocuments() const
    {
        std::vector<FilmPage> ended;
        for (const auto& page : documents_) {
            if (page.ending == FilmPage::Ending::Ended)
                ended.push_back(page);
        }
        return ended;
    }

    void setKeepDocuments(bool keep) { keepDocuments_ = keep; }

protected:
    direct_composition::PageRelease releasePage(const FilmPage&) override { return {}; }

    void pageClosed(FilmPage page) override
    {
        if (keepDocuments_)
            documents_.push_back(std::move(page));
    }

private:
    std::vector<FilmPage> documents_;
    bool keepDocuments_ = true;
};

}  // namespace vantorel::testing
