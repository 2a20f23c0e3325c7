#pragma once

#include "base/owner_thread.h"
#include "template_composition/report_layout.h"

#include <string>

namespace vantorel::template_composition {

// The report `AcReport`: one for the whole run, reused by every film. It holds
// the layout of the film's template (the built-in one until the first film),
// the page settings, the printer and the document name. Every film starts
// with startFilm: no controls, and the paper and margins set at start-up, so
// nothing of an earlier film's template (its pictures above all) reaches it;
// the orientation, printer and document name stay until the film sets them.
class AcReport {
public:
    AcReport();

    const std::string& documentName() const { return documentName_; }
    void setDocumentName(std::string name) { documentName_ = std::move(name); }
    const std::string& printerName() const { return printerName_; }
    void setPrinterName(std::string name) { printerName_ = std::move(name); }

    const ReportPageSettings& page() const { return page_; }
    void setOrientation(int orientation);
    void setPaperSize(float width, float height);
    void setMargins(float left, float top, float right, float bottom);

    // A new film: no controls, the start-up paper and margins.
    void startFilm();

    // The report takes the controls of the layout and the page settings it
    // states.
    void loadLayout(ReportLayout layout);

    // The control of that name, or nullptr when the layout has none.
    ReportControl* slot(const std::string& name);
    const std::vector<ReportControl>& controls() const { return controls_; }

private:
    base::OwnerThread owner_;  // main thread only
    std::string documentName_;
    std::string printerName_;
    ReportPageSettings page_;
    ReportPageSettings startPage_;  // paper and margins as start-up set them
    std::vector<ReportControl> controls_;
};

}  // namespace vantorel::template_composition
