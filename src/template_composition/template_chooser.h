#pragma once

#include "base/fwd.h"
#include "base/result.h"
#include "settings/installed_printers.h"
#include "settings/settings_model.h"
#include "template_composition/report_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_job {
struct TemplateFilm;
}

namespace vantorel::template_composition {

class AcReport;

// Reads a template file into a layout; a Failure with the reason when the
// file is missing or cannot be used.
class TemplateLoader {
public:
    virtual ~TemplateLoader() = default;
    virtual base::Result<ReportLayout> load(const std::string& path) = 0;
};

// The route for films of other sizes (the last one): its printer, the
// installed printer the settings name (empty when none), and its paper, A3 or
// A4 (none when the setting names neither).
std::string otherRoutePrinter(const settings::RoutingSettings& settings,
                              const settings::InstalledPrinters& installedPrinters);
std::optional<std::string> otherRoutePaper(const settings::RoutingSettings& settings);

// The template chooser `repmod`: names the print job, sets the orientation,
// picks the film's printer from the routing table (with rotations of its own,
// apart from the direct road's) and loads the template named for the film's
// orientation, format and paper from <home>/ReportMode/. It reads the live
// routing settings and the installed printers (the route for other sizes).
class TemplateChooser {
public:
    TemplateChooser(const settings::RoutingSettings& settings,
                    const settings::InstalledPrinters& installedPrinters, std::string programFolder,
                    const base::Clock& clock, TemplateLoader& loader, base::RunLog& log);

    // Loads the film's template into `report` (started for the film) and
    // checks that it can print every image of the film. Nothing when it
    // can; otherwise why not, as "template <file>: <reason>" (the report
    // then holds no controls) and in the run log with the full path.
    [[nodiscard]] std::optional<std::string> repmod(AcReport& report, const print_job::TemplateFilm& film);

    const std::string& CurrentPrinterName() const { return currentPrinterName_; }
    std::int16_t route0TemplateCursor() const { return route0TemplateCursor_; }
    // The selected entry of a route's printer list, -1 when none.
    int selectedEntry(int route) const;
    // The template path formed for the last film (empty when none was formed).
    const std::string& lastTemplatePath() const { return lastTemplatePath_; }

    // "<folder>/ReportMode/" + letter + r_c + paper + "-" + cols + rows + ".rpx";
    // a ROW or COL format of more than two counts adds the others after rows
    // ("PROW1417-123.rpx" for ROW\1,2,3).
    static std::string templatePath(const std::string& programFolder, const std::string& letter,
                                    const std::string& r_c, const std::string& paper, std::int16_t cols,
                                    std::int16_t rows, const std::vector<int>& lines = {});

private:
    [[nodiscard]] std::optional<int> chooseRoute(const print_job::TemplateFilm& film) const;
    std::string pickPrinter(int route);
    std::optional<std::string> paperOf(int route) const;

    const settings::RoutingSettings& settings_;
    const settings::InstalledPrinters& installedPrinters_;
    std::string programFolder_;
    const base::Clock& clock_;
    TemplateLoader& loader_;
    base::RunLog& log_;
    std::int16_t route0TemplateCursor_ = 0;
    std::array<int, settings::routeCount> selectedEntries_{-1, -1, -1, -1, -1, -1, -1, -1};
    std::string currentPrinterName_;
    std::string lastTemplatePath_;
};

// "HH点MM分SS秒打印。" of the given time of day.
std::string printJobTitle(int hour, int minute, int second);

}  // namespace vantorel::template_composition
