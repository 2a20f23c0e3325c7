#include "template_composition/qt/report_template_composition.h"

#include "archive/film_record_store.h"
#include "base/clock.h"
#include "base/run_log.h"
#include "settings/settings_model.h"
#include "template_composition/qt/tiff_film_export.h"
#include "template_composition/report_filling.h"
#include "template_composition/report_page.h"

#include "direct_composition/requested_size.h"

#include <cmath>
#include <future>
#include <string>

namespace vantorel::template_composition {

ReportTemplateComposition::ReportTemplateComposition(TemplateRoadParts parts)
    : parts_(std::move(parts)),
      chooser_(parts_.routing, parts_.installedPrinters, parts_.programFolder, parts_.clock, loader_,
               parts_.log),
      printer_(parts_.programFolder)
{}

void ReportTemplateComposition::composeFilm(const print_job::TemplateFilm& film)
{
    // Every film starts from an empty report and its own template, or stays
    // empty: never a picture of an earlier film.
    report_.startFilm();
    templateProblem_ = chooser_.repmod(report_, film);
    saveFilm_ = film.firstCopy;
    if (templateProblem_)
        return;
    fillFilmCells(report_, film.cells, !film.r_c.empty());
    bool toldTooLarge = false;
    for (std::size_t k = 1; k <= film.cells.size(); ++k) {
        const auto& picture = film.cells[k - 1];
        if (!picture)
            continue;
        const double widthMm = k <= film.requestedWidthsMm.size() ? film.requestedWidthsMm[k - 1] : 0;
        requestWidth(static_cast<int>(k), *picture, widthMm, toldTooLarge);
    }
    applyFilmAppearance(report_, film);
}

// The slot that took the picture of cell `num` prints it `widthMm` wide when
// it fits there; otherwise it fits it as the template says, and the run log
// says so once per film.
void ReportTemplateComposition::requestWidth(int num, const direct_composition::Picture& picture,
                                             double widthMm, bool& toldTooLarge)
{
    ReportControl* slot = report_.slot("Image" + std::to_string(num));
    if (slot == nullptr || slot->picture.pixels != picture.pixels)
        return;  // the picture did not go into a slot
    slot->requestedWidth = 0;
    if (!(widthMm > 0) || picture.isNull())
        return;
    const double width = widthMm * direct_composition::twipsPerTrueMillimetre;
    const double height = width * picture.height / picture.width;
    if (width <= slot->width && height <= slot->height) {
        slot->requestedWidth = static_cast<float>(width);
        return;
    }
    if (!toldTooLarge)
        parts_.log.write("Requested Image Size " + std::to_string(std::lround(widthMm)) +
                         " mm does not fit its slot Image" + std::to_string(num) +
                         ": printed fitted to the slot");
    toldTooLarge = true;
}

print_job::FilmResult ReportTemplateComposition::PrintReport()
{
    if (templateProblem_)
        return print_job::FilmResult::notComposed(*templateProblem_);
    // The filled template is drawn once, as the film's image (grey unless a
    // colour picture is on it); the printer gets that image on the sheet and,
    // while film saving is on, the same image is written (under a temporary
    // name) on a worker thread as the page goes to the printer. The N-ACTION
    // waits for both. Only a film the printer took becomes a film file and
    // gets its archive row; any other film's image is removed.
    const direct_composition::FilmPage laidOut = layoutReportPage(report_);
    const QImage drawn = renderExportImage(laidOut, report_.page());
    const direct_composition::FilmPage page = exportImagePage(laidOut, report_.page(), drawn);
    std::future<base::Result<WrittenFilmImage>> image;
    if (parts_.composition.saveFilms && saveFilm_)
        image = std::async(std::launch::async, writeFilmImage, drawn, parts_.composition.exportFolder,
                           parts_.clock.now());
    // FilmImageCompression is live: read afresh for every film.
    auto compression = direct_composition::FilmImageCompression::Lossless;
    // A keyword it does not know leaves the pictures lossless.
    (void)direct_composition::filmImageCompressionOf(parts_.composition.filmImageCompression, compression);
    printer_.setImageCompression(compression);
    ReportPrintError error;
    const bool printed =
        printer_.print(page, report_.page(), report_.printerName(), report_.documentName(), error);
    if (!printed) {
        parts_.log.write("打印Err.Number:" + std::to_string(error.number) + error.description +
                         "打印机状态:" + std::to_string(error.printerStatus));
    }
    if (parts_.filmPrinted)
        parts_.filmPrinted(page);
    std::optional<std::string> savingProblem;
    if (image.valid()) {
        const base::Result<WrittenFilmImage> written = image.get();
        if (printed)
            savingProblem = recordFilm(written).reason();  // empty: saved
        else if (written)
            discardFilmImage(*written);
    }
    print_job::FilmResult result = printed
        ? print_job::FilmResult::handedOver(report_.printerName())
        : print_job::FilmResult::failed(error.description, report_.printerName());
    result.savingProblem = savingProblem;
    return result;
}

// A failure is logged with its reason; the film has been printed and counts
// all the same. A Failure says why the film's image was not saved; a film
// left out of the archive was saved all the same.
base::Result<void> ReportTemplateComposition::recordFilm(const base::Result<WrittenFilmImage>& image)
{
    if (!image) {
        parts_.log.write("film image not saved: " + image.reason());
        return base::Failure{image.reason()};
    }
    const base::Result<ExportedFilm> named = nameFilmImage(*image);
    if (!named) {
        parts_.log.write("film image not saved: " + named.reason());
        return base::Failure{named.reason()};
    }
    const ExportedFilm& film = *named;
    const base::Result<void> recorded = parts_.filmRecords.SaveFilmDB(film.folder, film.file);
    if (!recorded)
        parts_.log.write("film " + film.folder + "/" + film.file +
                         " not recorded in the archive: " + recorded.reason());
    return {};
}

}  // namespace vantorel::template_composition
