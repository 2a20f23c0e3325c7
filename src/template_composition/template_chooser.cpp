#include "template_composition/template_chooser.h"

#include "template_composition/template_check.h"

#include "base/clock.h"
#include "base/run_log.h"
#include "base/text.h"
#include "print_job/printer_routing.h"
#include "print_job/template_road.h"
#include "template_composition/ac_report.h"

#include <cstdio>

namespace vantorel::template_composition {

std::string printJobTitle(int hour, int minute, int second)
{
    char digits[3][4];
    std::snprintf(digits[0], sizeof digits[0], "%02d", hour);
    std::snprintf(digits[1], sizeof digits[1], "%02d", minute);
    std::snprintf(digits[2], sizeof digits[2], "%02d", second);
    return std::string(digits[0]) + "点" + digits[1] + "分" + digits[2] + "秒打印。";
}

TemplateChooser::TemplateChooser(const settings::RoutingSettings& settings,
                                 const settings::InstalledPrinters& installedPrinters,
                                 std::string programFolder, const base::Clock& clock, TemplateLoader& loader,
                                 base::RunLog& log)
    : settings_(settings),
      installedPrinters_(installedPrinters),
      programFolder_(std::move(programFolder)),
      clock_(clock),
      loader_(loader),
      log_(log)
{}

int TemplateChooser::selectedEntry(int route) const
{
    return route >= 0 && route < settings::routeCount ? selectedEntries_[route] : -1;
}

std::string TemplateChooser::templatePath(const std::string& programFolder, const std::string& letter,
                                          const std::string& r_c, const std::string& paper, std::int16_t cols,
                                          std::int16_t rows, const std::vector<int>& lines)
{
    // Counts are written in decimal without sign: the 16-bit value as unsigned.
    const auto count = [](std::int16_t value) { return std::to_string(static_cast<std::uint16_t>(value)); };
    std::string counts = count(cols) + count(rows);
    for (std::size_t i = 2; i < lines.size(); ++i)
        counts += std::to_string(lines[i]);
    return programFolder + "/ReportMode/" + letter + r_c + paper + "-" + counts + ".rpx";
}

std::optional<std::string> TemplateChooser::repmod(AcReport& report, const print_job::TemplateFilm& film)
{
    lastTemplatePath_.clear();
    const base::LocalDateTime now = clock_.now();
    report.setDocumentName(printJobTitle(now.hour, now.minute, now.second));

    // Exact, case-sensitive: any other orientation keeps the previous film's.
    std::string letter;
    if (film.FilmOrientation == "PORTRAIT") {
        report.setOrientation(1);
    } else if (film.FilmOrientation == "LANDSCAPE") {
        report.setOrientation(2);
        letter = "L";
    }

    const std::optional<int> route = chooseRoute(film);
    if (!route) {
        const std::string reason = "no route lists the sending device " + film.Rip;
        log_.write("film template not chosen: " + reason);
        return "template not chosen: " + reason;
    }
    currentPrinterName_ = pickPrinter(*route);
    report.setPrinterName(currentPrinterName_);

    const std::optional<std::string> paper = paperOf(*route);
    if (!paper) {
        const std::string reason = "route " + std::to_string(*route + 1) + " has no paper code";
        log_.write("film template not chosen: " + reason);
        return "template not chosen: " + reason;
    }
    lastTemplatePath_ =
        templatePath(programFolder_, letter, film.r_c, *paper, film.FormatCols, film.FormatRows, film.lines);
    const std::string fileName = lastTemplatePath_.substr(lastTemplatePath_.rfind('/') + 1);
    base::Result<ReportLayout> layout = loader_.load(lastTemplatePath_);
    if (!layout) {
        log_.write("film template " + lastTemplatePath_ + " not loaded: " + layout.reason());
        return "template " + fileName + ": " + layout.reason();
    }
    report.loadLayout(std::move(*layout));
    std::vector<bool> cells;
    for (const auto& cell : film.cells)
        cells.push_back(cell.has_value());
    if (auto problem = unusableTemplate(report.controls(), report.page(), cells, !film.r_c.empty())) {
        log_.write("film template " + lastTemplatePath_ + " not used: " + *problem);
        report.startFilm();
        return "template " + fileName + ": " + *problem;
    }
    return std::nullopt;
}

std::string otherRoutePrinter(const settings::RoutingSettings& settings,
                              const settings::InstalledPrinters& installed)
{
    const int index = settings.otherPrinterIndex;
    return index >= 0 && index < static_cast<int>(installed.size()) ? installed[index] : std::string();
}

std::optional<std::string> otherRoutePaper(const settings::RoutingSettings& settings)
{
    for (const char* paper : {"A3", "A4"}) {
        if (base::equalsIgnoringAsciiCase(settings.otherPaper, paper))
            return std::string(paper);
    }
    return std::nullopt;
}

std::optional<int> TemplateChooser::chooseRoute(const print_job::TemplateFilm& film) const
{
    const int bySize = print_job::routeIndexForFilmSize(film.FilmSize);
    if (bySize == print_job::otherRoute || !settings_.routeByDevice)
        return bySize;
    for (int route = 0; route < settings::routeCount; ++route) {
        if (settings_.routeDeviceIp[route] == film.Rip)
            return route;
    }
    return std::nullopt;
}

std::string TemplateChooser::pickPrinter(int route)
{
    if (route == print_job::otherRoute)
        return otherRoutePrinter(settings_, installedPrinters_);
    const std::vector<std::string>& printers = settings_.routePrinters[route];
    const int count = static_cast<int>(printers.size());
    if (route == 0 && !settings_.routeByDevice) {
        // Route 0 by film size rotates with a cursor of its own, advanced
        // before use: the first film goes to the second printer.
        if (route0TemplateCursor_ >= count - 1)
            route0TemplateCursor_ = 0;
        else
            ++route0TemplateCursor_;
        return count > 0 ? printers[route0TemplateCursor_] : std::string();
    }
    if (count == 0)
        return {};
    int& selected = selectedEntries_[route];
    selected = selected < 0 || selected >= count - 1 ? 0 : selected + 1;
    return printers[selected];
}

std::optional<std::string> TemplateChooser::paperOf(int route) const
{
    if (route == print_job::otherRoute)
        return otherRoutePaper(settings_);
    const int index = settings_.routePaperIndex[route];
    const auto& codes = settings::paperCodeList();
    if (index < 0 || index >= static_cast<int>(codes.size()))
        return std::nullopt;
    return base::trimBlanks(codes[index]);
}

}  // namespace vantorel::template_composition
