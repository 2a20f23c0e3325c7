#pragma once

#include "base/fwd.h"
#include "base/result.h"
#include "print_job/template_road.h"
#include "template_composition/ac_report.h"
#include "template_composition/qt/report_printer.h"
#include "template_composition/qt/rpx_file.h"
#include "template_composition/template_chooser.h"

#include <functional>
#include <optional>
#include <string>

namespace vantorel::archive {
class FilmRecordStore;
}

namespace vantorel::template_composition {

struct WrittenFilmImage;

// What the template road works with; owned by the caller, outliving it.
struct TemplateRoadParts {
    // The live settings it reads: composition (saveFilms, exportFolder, the
    // film image compression) and, for the template chooser, routing with the
    // installed printers.
    const settings::CompositionSettings& composition;
    const settings::RoutingSettings& routing;
    const settings::InstalledPrinters& installedPrinters;
    std::string programFolder;
    const base::Clock& clock;
    base::RunLog& log;
    archive::FilmRecordStore& filmRecords;
    // Shown by the console's preview after each film (may be empty).
    std::function<void(const direct_composition::FilmPage&)> filmPrinted;
};

// The template road of the print job driver: `repmod` and the fills compose
// the film in the one report of the run; `PrintReport` prints it on the
// chosen printer and, while film saving is on, exports it as a TIFF image and
// records it in the film archive.
class ReportTemplateComposition final : public print_job::TemplateComposition {
public:
    explicit ReportTemplateComposition(TemplateRoadParts parts);

    void composeFilm(const print_job::TemplateFilm& film) override;
    print_job::FilmResult PrintReport() override;

    AcReport& report() { return report_; }
    const TemplateChooser& chooser() const { return chooser_; }
    const ReportPrinter& printer() const { return printer_; }

private:
    base::Result<void> recordFilm(const base::Result<WrittenFilmImage>& image);
    void requestWidth(int num, const direct_composition::Picture& picture, double widthMm,
                      bool& toldTooLarge);

    TemplateRoadParts parts_;
    AcReport report_;
    RpxTemplateLoader loader_;
    TemplateChooser chooser_;
    ReportPrinter printer_;
    bool saveFilm_ = true;  // the composed film is saved when film saving is on
    // Why the film has no usable template ("template <file>: <reason>"):
    // such a film is not printed, saved or recorded.
    std::optional<std::string> templateProblem_;
};

}  // namespace vantorel::template_composition
