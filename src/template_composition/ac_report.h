#pragma once

#include "template_composition/report_layout.h"

#include <string>

namespace vantorel::template_composition {

// The report `AcReport`: one for the whole run, reused by every film. It holds
// the layout of the last template loaded (the built-in one until then), the
// page settings, the printer and the document name; whatever a film does not
// set stays as the previous film left it.
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

    // The report takes the controls of the layout and the page settings it
    // states.
    void loadLayout(ReportLayout layout);

    // The control of that name, or nullptr when the layout has none.
    ReportControl* slot(const std::string& name);
    const std::vector<ReportControl>& controls() const { return controls_; }

private:
    std::string documentName_;
    std::string printerName_;
    ReportPageSettings page_;
    std::vector<ReportControl> controls_;
};

}  // namespace vantorel::template_composition
