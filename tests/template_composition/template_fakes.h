#pragma once

#include "base/clock.h"
#include "print_job/template_road.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "template_composition/ac_report.h"
#include "template_composition/template_chooser.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vantorel::template_composition::testing {

// Templates by path; every path asked for is noted, an unknown one is missing.
class FakeTemplateLoader final : public TemplateLoader {
public:
    base::Result<ReportLayout> load(const std::string& path) override
    {
        asked.push_back(path);
        const auto found = templates.find(path);
        if (found == templates.end())
            return base::Failure{"file not found"};
        return found->second;
    }
    std::map<std::string, ReportLayout> templates;
    std::vector<std::string> asked;
};

inline direct_composition::Picture grayPicture(int width, int height, std::uint8_t level)
{
    direct_composition::Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels =
        std::make_shared<const std::vector<std::uint8_t>>(static_cast<std::size_t>(width) * height, level);
    return picture;
}

inline ReportControl imageSlot(int number, bool visible = true, SizeMode mode = SizeMode::Stretch,
                               PictureAlignment alignment = PictureAlignment::TopLeft)
{
    ReportControl slot;
    slot.name = "Image" + std::to_string(number);
    slot.left = 1000.0f * static_cast<float>(number);
    slot.width = 900;
    slot.height = 900;
    slot.visible = visible;
    slot.sizeMode = mode;
    slot.pictureAlignment = alignment;
    return slot;
}

inline print_job::TemplateFilm film(std::string orientation, std::string filmSize, std::string r_c,
                                    std::int16_t cols, std::int16_t rows, std::string rip = "10.0.0.1")
{
    print_job::TemplateFilm f;
    f.ruid = "1.2.3";
    f.Rip = std::move(rip);
    f.FilmOrientation = std::move(orientation);
    f.FilmSize = std::move(filmSize);
    f.r_c = std::move(r_c);
    f.FormatCols = cols;
    f.FormatRows = rows;
    return f;
}

// A chooser over settings, a fixed clock, fake templates and a memory log.
struct ChooserFixture {
    ChooserFixture()
        : clock({2024, 3, 5, 9, 5, 7}), chooser(settings, installedPrinters, "/home/v", clock, loader, log)
    {}
    settings::Settings settings;
    settings::InstalledPrinters installedPrinters{"CupsA", "CupsB", "FilmFile"};
    base::FixedClock clock;
    FakeTemplateLoader loader;
    vantorel::testing::MemoryRunLog log;
    TemplateChooser chooser;
    AcReport report;

    // Chooses for the film; for the tests that read the choice (template
    // path, printer, title, orientation), not whether its template loads.
    void choose(const print_job::TemplateFilm& film) { (void)chooser.repmod(report, film); }
};

}  // namespace vantorel::template_composition::testing
