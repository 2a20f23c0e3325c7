#pragma once

#include "archive/film_reprint.h"
#include "base/fwd.h"
#include "settings/fwd.h"
#include "settings/installed_printers.h"
#include "template_composition/qt/report_printer.h"

#include <functional>
#include <string>

namespace vantorel::template_composition {

// Prints a saved film image again on the printer of the route for films of
// other sizes, as one page: the image fitted to the whole sheet of that
// route's paper (A4 when it names none) in the image's own orientation,
// through the same checked hand-over as films from modalities. Logs
// "重新打印：<path> -> <printer>" and how it ended; a printed film is counted
// with `countFilm`. The archive is not written to. Of the settings it reads
// the live routing (that route's printer and paper).
class SavedFilmReprint final : public archive::FilmReprint {
public:
    SavedFilmReprint(const settings::RoutingSettings& settings,
                     const settings::InstalledPrinters& installedPrinters, std::string homeFolder,
                     base::RunLog& log, std::function<void()> countFilm);

    archive::ReprintOutcome reprint(const std::string& imagePath) override;

private:
    archive::ReprintOutcome failed(archive::ReprintOutcome outcome, const std::string& reason);

    const settings::RoutingSettings& settings_;
    const settings::InstalledPrinters& installedPrinters_;
    base::RunLog& log_;
    std::function<void()> countFilm_;
    ReportPrinter printer_;
};

}  // namespace vantorel::template_composition
