#include "print_job/print_job_driver.h"

#include "base/run_log.h"
#include "base/text.h"
#include "direct_composition/dicom/dicom_film_image.h"
#include "direct_composition/film_page_surface.h"
#include "direct_composition/rendered_film_image.h"
#include "direct_composition/standard_layout.h"
#include "direct_composition/uneven_layout.h"
#include "direct_composition/worker_pool.h"
#include "print_job/film_box_appearance.h"
#include "print_job/film_lut.h"
#include "print_job/image_box_presentation.h"
#include "print_job/print_job_observer.h"
#include "print_job/template_road.h"
#include "print_service/attribute_text.h"
#include "print_service/display_format.h"
#include "print_service/print_object_store.h"
#include "print_service/sop_uids.h"
#include "settings/print_count.h"
#include "settings/settings_model.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <algorithm>
#include <cstdlib>

namespace vantorel::print_job {

namespace ps = print_service;
namespace dc = direct_composition;

namespace {

// Cells of a film box: rows x columns for STANDARD, the sum of the counts for ROW/COL.
int cellCount(const ps::FilmBoxFormat& format)
{
    return ps::imageBoxCount(format.FormatCols, format.FormatRows, format.r_c, format.lines).value_or(0);
}

// What the main thread reads of cell k before the cell's image is rendered:
// the image box named by item k of the film box's Referenced Image Box
// Sequence, the item of its grey image sequence (else its colour one) that
// carries the image, and how its image box, film box and film session ask it
// to be presented. No item: a cell without an image.
struct CellSource {
    std::string imageBox;  // SOP Instance UID, for the log lines
    DcmItem* item = nullptr;
    dc::ImagePresentation presentation;
    std::vector<std::string> ignored;  // what of the request cannot be applied
};

CellSource cellSource(ps::PrintObjectStore& store, DcmItem& filmBox, DcmItem* filmSession, int k)
{
    CellSource cell;
    DcmItem* reference = nullptr;
    if (filmBox.findAndGetSequenceItem(DCM_ReferencedImageBoxSequence, reference, k - 1).bad() ||
        reference == nullptr)
        return cell;
    ps::PrintObject* imageBox =
        store.Dataset("", ps::valueWithoutTrailingSpaces(*reference, DCM_ReferencedSOPInstanceUID));
    if (imageBox == nullptr)
        return cell;
    DcmItem& box = imageBox->attributes();
    const DcmTagKey sequence = box.tagExists(DCM_BasicGrayscaleImageSequence)
        ? DCM_BasicGrayscaleImageSequence
        : DCM_BasicColorImageSequence;
    DcmItem* item = nullptr;
    if (box.findAndGetSequenceItem(sequence, item, 0).bad() || item == nullptr)
        return cell;
    cell.imageBox = imageBox->sopInstanceUid();
    cell.item = item;
    cell.presentation = presentationOf(PresentationLevels{&box, &filmBox, filmSession}, store, cell.ignored);
    return cell;
}

// A cell's image, rendered as its presentation asks, and the run log lines it
// gives (written by the main thread, in cell order). Only the picture is kept,
// so a worker holds one toolkit image (with its intermediate pixel copies) at
// a time. Runs on a worker thread: it reads the cell's own item and nothing
// else of the print objects.
struct RenderedCell {
    std::unique_ptr<dc::FilmImage> image;
    std::vector<std::string> lines;
};

RenderedCell renderCell(CellSource cell, dc::Magnification magnification)
{
    RenderedCell rendered;
    if (cell.item == nullptr)
        return rendered;
    const auto made = dc::DicomFilmImage::fromItem(*cell.item, cell.presentation, cell.ignored);
    if (!made) {
        rendered.lines.push_back("image box " + cell.imageBox + " has no usable image: " + made.reason());
        return rendered;
    }
    const auto& image = *made;
    if (!cell.ignored.empty())
        rendered.lines.push_back("image box " + cell.imageBox + ": ignored " +
                                 base::joined(cell.ignored, "; "));
    dc::Picture picture = image->picture();
    if (picture.isNull()) {
        rendered.lines.push_back("image box " + cell.imageBox + ": the image cannot be rendered");
        return rendered;
    }
    rendered.image = std::make_unique<dc::RenderedFilmImage>(
        std::move(picture), image->pixelWidth(), image->pixelHeight(), cell.presentation.requestedWidthMm,
        cell.presentation.magnification.value_or(magnification));
    return rendered;
}

// Renders the cells side by side on the shared worker pool (the calling thread
// among its workers) and returns them in cell order once all are done.
std::vector<RenderedCell> renderCells(std::vector<CellSource> cells, dc::Magnification magnification)
{
    std::vector<RenderedCell> rendered(cells.size());
    dc::WorkerPool::shared().run(cells.size(), [&](std::size_t i) {
        const std::string imageBox = cells[i].imageBox;
        try {
            rendered[i] = renderCell(std::move(cells[i]), magnification);
        } catch (const std::exception& failure) {  // e.g. no memory for a huge image
            rendered[i].lines.push_back("image box " + imageBox +
                                        ": the image cannot be rendered: " + failure.what());
        }
    });
    return rendered;
}

// Number of Copies (2000,0010) of a film session, as sent: empty when absent.
std::string copiesText(ps::PrintObject& filmSession)
{
    return ps::valueWithoutTrailingSpaces(filmSession.attributes(), DCM_NumberOfCopies);
}

}  // namespace

struct PrintJobDriver::Film {
    ps::PrintObject& box;
    ps::FilmBoxFormat format;
    std::string orientation;
    dc::FilmImages images;  // one entry per cell walked; null for an empty cell
    dc::FilmAppearance appearance;
};

PrintJobDriver::PrintJobDriver(PrintJobParts parts) : parts_(std::move(parts))
{
    parts_.surface.setPageEndedListener(
        [this](const dc::FilmPage& page, const dc::PageRelease& release) { pageEnded(page, release); });
}

PrintJobDriver::~PrintJobDriver()
{
    parts_.surface.setPageEndedListener({});
}

ps::PrintOutcome PrintJobDriver::DoPrint(const std::string& ruid, const std::string& Rip)
{
    owner_.check("PrintJobDriver::DoPrint");
    ps::PrintObject* object = parts_.store.Dataset("", ruid);
    if (object == nullptr) {
        // Nothing printed, counted or logged; the modality is told.
        ps::PrintOutcome outcome;
        outcome.status = ps::print_status::noSuchObjectInstance;
        outcome.errorComment = "No such film session or film box";
        return outcome;
    }
    SheetTally tally;
    if (object->sopClassUid() == ps::sop::basicFilmSession) {
        // The session itself is not a film; its film boxes print in order.
        const auto filmBoxes = parts_.store.children(*object);
        if (filmBoxes.empty()) {
            ps::PrintOutcome outcome;
            outcome.status = ps::print_status::filmSessionWithoutFilmBox;
            outcome.errorComment = "Film session has no film box, nothing printed";
            return outcome;
        }
        const int copies = copiesOf(object);
        for (ps::PrintObject* filmBox : filmBoxes)
            printFilmBox(*filmBox, copies, Rip, tally);
        return tally.outcome(true);
    }
    if (!object->filmBoxFormat()) {
        // Not a film box (an image box, a Presentation LUT): nothing to lay
        // out, and never in the layout of another film box.
        ps::PrintOutcome outcome;
        outcome.status = ps::print_status::noSuchObjectInstance;
        outcome.errorComment = "No such film session or film box";
        return outcome;
    }
    printFilmBox(*object, copiesOf(filmSessionOf(*object)), Rip, tally);
    return tally.outcome(false);
}

ps::PrintObject* PrintJobDriver::filmSessionOf(ps::PrintObject& filmBox)
{
    DcmSequenceOfItems* sessions = nullptr;
    if (filmBox.attributes().findAndGetSequence(DCM_ReferencedFilmSessionSequence, sessions).bad() ||
        sessions == nullptr)
        return nullptr;
    return parts_.store.datasetFromSequence(*sessions, 1);
}

// Number of Copies of the film session: 1 to 99 sheets per film; anything
// else (absent: 1 without a word) prints one sheet and is logged.
int PrintJobDriver::copiesOf(ps::PrintObject* filmSession)
{
    if (filmSession == nullptr)
        return 1;
    const std::string text = copiesText(*filmSession);
    if (text.empty())
        return 1;
    constexpr int mostCopies = 99;
    char* end = nullptr;
    const long copies = std::strtol(text.c_str(), &end, 10);
    if (end != nullptr && *end == '\0' && copies >= 1 && copies <= mostCopies)
        return static_cast<int>(copies);
    parts_.log.write("Number of Copies \"" + text + "\" of film session " + filmSession->sopInstanceUid() +
                     " is not 1 to 99: one sheet printed");
    return 1;
}

void PrintJobDriver::printFilmBox(ps::PrintObject& filmBox, int copies, const std::string& Rip,
                                  SheetTally& tally)
{
    if (!filmBox.filmBoxFormat()) {
        tally.add(SheetResult::notComposed("not a film box"));
        return;
    }
    Film film{filmBox,
              *filmBox.filmBoxFormat(),
              ps::valueWithoutTrailingSpaces(filmBox.attributes(), DCM_FilmOrientation),
              {},
              {}};
    ps::PrintObject* filmSession = filmSessionOf(filmBox);
    std::vector<std::string> ignored;
    const FilmBoxAppearance appearance = filmBoxAppearanceOf(
        filmBox.attributes(), filmSession ? &filmSession->attributes() : nullptr, ignored);
    if (!ignored.empty())
        parts_.log.write("film box " + filmBox.sopInstanceUid() + ": ignored " + base::joined(ignored, "; "));
    film.appearance = appearance.film;
    film.images = collectImages(filmBox, cellCount(film.format),
                                appearance.magnification.value_or(configuredMagnification()));
    const bool hasImages = dc::imageCount(film.images) > 0;
    for (int copy = 1; copy <= copies; ++copy) {
        SheetResult sheet;
        if (parts_.composition.templateMode) {
            composeTemplate(film, Rip, copy == 1);
            sheet = finishSheet(SheetResult::printed());
            if (sheet.kind == SheetResult::Kind::Printed && !hasImages)
                sheet = SheetResult::noImages();  // an empty template went out
        } else {
            sheet = finishSheet(printDirect(film, Rip));
        }
        tally.add(sheet);
        notePrinterProblem(sheet);
        if (sheet.kind != SheetResult::Kind::Printed)
            break;  // the next copy would fare no better
    }
}

// `MagnificationType` of the settings; BILINEAR when it names none.
dc::Magnification PrintJobDriver::configuredMagnification() const
{
    dc::Magnification magnification = dc::Magnification::Bilinear;
    // A keyword it does not know leaves BILINEAR.
    (void)dc::magnificationOf(parts_.composition.magnificationType, magnification);
    return magnification;
}

dc::FilmImages PrintJobDriver::collectImages(ps::PrintObject& filmBox, int cells,
                                             dc::Magnification magnification)
{
    auto& attributes = filmBox.attributes();
    DcmSequenceOfItems* references = nullptr;
    attributes.findAndGetSequence(DCM_ReferencedImageBoxSequence, references);
    // Cells past the last item of the sequence have no image box: the walk
    // stops there, however large the display format claims the film to be.
    const int items = references ? static_cast<int>(references->card()) : 0;
    const int walked = std::min(cells, items);
    ps::PrintObject* filmSession = filmSessionOf(filmBox);
    DcmItem* session = filmSession ? &filmSession->attributes() : nullptr;
    // The print objects are read here, on the owner thread; the images are
    // rendered side by side; the log lines follow in cell order. The
    // N-ACTION is answered after the page, as before.
    std::vector<CellSource> sources;
    for (int k = 1; k <= walked; ++k)
        sources.push_back(cellSource(parts_.store, attributes, session, k));
    dc::FilmImages images;
    for (RenderedCell& cell : renderCells(std::move(sources), magnification)) {
        for (const std::string& line : cell.lines)
            parts_.log.write(line);
        images.push_back(std::move(cell.image));
    }
    return images;
}

SheetResult PrintJobDriver::printDirect(const Film& film, const std::string& Rip)
{
    const settings::CompositionSettings& settings = parts_.composition;
    const settings::RoutingSettings& routing = parts_.routing;
    auto& surface = parts_.surface;
    lastPrinter_ =
        rotation_.GetNextPrt(routeIndexFor(routing, film.format.FilmSize, Rip), routing.routePrinters);
    // A routed name that matches no installed printer (or an empty pool)
    // changes nothing: the film goes to the printer that is current.
    (void)surface.selectPrinter(lastPrinter_);

    if (film.orientation == "PORTRAIT")
        surface.setOrientation(dc::Orientation::Portrait);
    else if (film.orientation == "LANDSCAPE")
        surface.setOrientation(dc::Orientation::Landscape);
    surface.setOrigin(settings.marginLeft, settings.marginTop);

    const dc::CompositionContext context{
        settings, parts_.log, parts_.messages, parts_.headerPictures, parts_.programFolder, film.appearance};
    const dc::RectF area{0, 0, surface.pageWidth(),
                         surface.pageHeight() - static_cast<float>(settings.header.htjcs)};
    const dc::FilmGrid grid{film.format.FormatCols, film.format.FormatRows, film.format.lines};
    lastRelease_.reset();
    const dc::FilmEnd end = film.format.r_c.empty()
        ? dc::PrintImgtoPrinter(context, surface, film.images, area, grid).end
        : dc::PrintImgtoPrinter_rc(context, surface, film.images, area, grid, film.format.r_c).end;
    switch (end) {
    case dc::FilmEnd::Ended:
        if (lastRelease_ && !lastRelease_->released)
            return SheetResult::refusedByPrinter(lastRelease_->failure);
        return SheetResult::printed();
    case dc::FilmEnd::NoImages:
        return SheetResult::noImages();
    case dc::FilmEnd::TooManyImages:
        return SheetResult::notComposed("more images than image boxes");
    case dc::FilmEnd::UnsupportedFormat:
        break;
    }
    return SheetResult::notComposed(
        "display format " + film.format.r_c + "\\" +
        dc::countsText(grid.lines.empty() ? std::vector<int>{grid.cols, grid.rows} : grid.lines) +
        " not supported");
}

void PrintJobDriver::pageEnded(const dc::FilmPage& page, const dc::PageRelease& release)
{
    lastRelease_ = release;
    parts_.observer.filmComposed(page);
}

void PrintJobDriver::composeTemplate(const Film& film, const std::string& Rip, bool firstCopy)
{
    TemplateFilm templateFilm;
    templateFilm.ruid = film.box.sopInstanceUid();
    templateFilm.Rip = Rip;
    templateFilm.FilmOrientation = film.orientation;
    templateFilm.FilmSize = film.format.FilmSize;
    templateFilm.FormatCols = film.format.FormatCols;
    templateFilm.FormatRows = film.format.FormatRows;
    templateFilm.r_c = film.format.r_c;
    templateFilm.lines = film.format.lines;
    templateFilm.firstCopy = firstCopy;
    templateFilm.appearance = film.appearance;
    const bool lut = parts_.composition.lutEnabled != "0";
    for (const auto& image : film.images) {
        std::optional<dc::Picture> picture;
        if (image) {
            const dc::Picture plain = image->picture();
            if (!plain.isNull())
                picture = lut ? applyFilmLut(plain) : plain;
        }
        templateFilm.cells.push_back(std::move(picture));
        templateFilm.requestedWidthsMm.push_back(image ? image->requestedWidthMm() : 0);
        templateFilm.magnifications.push_back(image ? image->magnification() : dc::Magnification::Bilinear);
    }
    parts_.templateComposition.composeFilm(templateFilm);
}

// One more film on the count, stored and shown.
std::int32_t PrintJobDriver::addOneToCount()
{
    const std::int32_t count = parts_.printCount.addOne();
    parts_.observer.printCountChanged(count);
    return count;
}

void PrintJobDriver::countReprintedFilm()
{
    addOneToCount();
}

// Counts the sheet (printed or abandoned), and on the template road prints it
// first: what PrintReport says is the sheet's result there.
SheetResult PrintJobDriver::finishSheet(SheetResult sheet)
{
    const std::int32_t count = addOneToCount();
    std::string printer = lastPrinter_;
    if (parts_.composition.templateMode)
        sheet = printTemplateFilm(sheet, printer);
    parts_.log.write("打印第【" + std::to_string(count) + "】张胶片。");
    // Every film's last line says how it ended and on which printer.
    const std::string on = printer.empty() ? std::string() : "打印机：" + printer;
    if (sheet.kind == SheetResult::Kind::NotPrinted)
        parts_.log.write("打印失败：" + sheet.reason + (on.empty() ? "" : "。" + on));
    else
        parts_.log.write("打印完毕。" + on);
    return sheet;
}

// The template road prints the film it composed: the sheet as it went, and
// the printer it went to.
SheetResult PrintJobDriver::printTemplateFilm(SheetResult sheet, std::string& printer)
{
    const FilmResult report = parts_.templateComposition.PrintReport();
    printer = report.printer;
    if (!report.printed)
        sheet = report.atPrinter ? SheetResult::refusedByPrinter(report.reason)
                                 : SheetResult::notComposed(report.reason);
    sheet.savingProblem = report.savingProblem;
    if (report.savingProblem)
        noteSavingProblem(*report.savingProblem);
    return sheet;
}

// The console hears when film saving fails, and when a film is saved again.
void PrintJobDriver::noteSavingProblem(const std::string& problem)
{
    if (problem == savingProblem_)
        return;
    savingProblem_ = problem;
    parts_.observer.filmSavingProblemChanged(problem);
}

// The console hears of a printer failure, and of the first film that prints
// after one.
void PrintJobDriver::notePrinterProblem(const SheetResult& sheet)
{
    std::string problem = printerProblem_;
    if (sheet.kind == SheetResult::Kind::Printed)
        problem.clear();
    else if (sheet.printerFault)
        problem = sheet.reason;
    if (problem == printerProblem_)
        return;
    printerProblem_ = problem;
    parts_.observer.printerProblemChanged(problem);
}

}  // namespace vantorel::print_job
