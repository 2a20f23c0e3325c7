#include "print_job/print_job_driver.h"

#include "console/run_log.h"
#include "console/settings_loader.h"
#include "console/settings_model.h"
#include "direct_composition/dicom/dicom_film_image.h"
#include "direct_composition/recording_surface.h"
#include "direct_composition/standard_layout.h"
#include "direct_composition/uneven_layout.h"
#include "print_job/film_lut.h"
#include "print_job/print_job_observer.h"
#include "print_job/template_road.h"
#include "print_service/print_object_store.h"
#include "print_service/sop_uids.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <algorithm>

namespace vantorel::print_job {

namespace ps = print_service;
namespace dc = direct_composition;

namespace {

std::string textOf(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    if (item.findAndGetOFString(tag, value).bad())
        return {};
    std::string text = value.c_str();
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Cells of a film box: rows x columns for STANDARD, the two counts for ROW/COL.
int cellCount(const ps::FilmBoxFormat& format)
{
    const int cols = format.FormatCols, rows = format.FormatRows;
    return std::max(0, format.r_c.empty() ? cols * rows : cols + rows);
}

// The image of cell k (1-based): item k of the Referenced Image Box Sequence
// names the image box; its grey image sequence, else its colour one, carries
// the image in item 1. nullptr for a cell without an image.
std::unique_ptr<dc::DicomFilmImage> cellImage(ps::PrintObjectStore& store, DcmItem& filmBox,
                                              int k, console::RunLog& log)
{
    DcmItem* reference = nullptr;
    if (filmBox.findAndGetSequenceItem(DCM_ReferencedImageBoxSequence, reference, k - 1).bad() ||
        reference == nullptr)
        return nullptr;
    ps::PrintObject* imageBox = store.Dataset("", textOf(*reference, DCM_ReferencedSOPInstanceUID));
    if (imageBox == nullptr)
        return nullptr;
    DcmItem& box = imageBox->attributes();
    const DcmTagKey sequence = box.tagExists(DCM_BasicGrayscaleImageSequence)
                                   ? DCM_BasicGrayscaleImageSequence
                                   : DCM_BasicColorImageSequence;
    DcmItem* item = nullptr;
    if (box.findAndGetSequenceItem(sequence, item, 0).bad() || item == nullptr)
        return nullptr;
    std::string error;
    auto image = dc::DicomFilmImage::fromItem(*item, &error);
    if (!image)
        log.write("image box " + imageBox->sopInstanceUid() + " has no usable image: " + error);
    return image;
}

}  // namespace

PrintJobDriver::PrintJobDriver(PrintJobParts parts) : parts_(std::move(parts)) {}

void PrintJobDriver::DoPrint(const std::string& ruid, const std::string& Rip)
{
    ps::PrintObject* object = parts_.store.Dataset("", ruid);
    if (object == nullptr)
        return;  // nothing printed, counted or logged
    if (object->sopClassUid() == ps::sop::basicFilmSession) {
        // The session itself is not a film; its film boxes print in order.
        for (ps::PrintObject* filmBox : parts_.store.children(*object))
            printFilmBox(*filmBox, Rip);
        return;
    }
    printFilmBox(*object, Rip);
}

void PrintJobDriver::printFilmBox(ps::PrintObject& filmBox, const std::string& Rip)
{
    auto& attributes = filmBox.attributes();
    const std::string orientation = textOf(attributes, DCM_FilmOrientation);
    const ps::FilmBoxFormat format = formatOf(filmBox);
    if (parts_.settings.templateMode)
        printTemplate(filmBox, format, orientation, Rip);
    else
        printDirect(filmBox, format, orientation, Rip);
    countFilm();
}

ps::FilmBoxFormat PrintJobDriver::formatOf(const ps::PrintObject& filmBox) const
{
    if (filmBox.filmBoxFormat())
        return *filmBox.filmBoxFormat();
    // Not made by a film box N-CREATE: the service-wide values are all there is.
    ps::FilmBoxFormat format;
    format.FilmSize = parts_.serviceFilm.FilmSize;
    format.FormatCols = parts_.serviceFilm.FormatCols;
    format.FormatRows = parts_.serviceFilm.FormatRows;
    format.r_c = parts_.serviceFilm.r_c;
    return format;
}

dc::FilmImages PrintJobDriver::collectImages(ps::PrintObject& filmBox, int cells,
                                             bool keepEmptyCells)
{
    auto& attributes = filmBox.attributes();
    DcmSequenceOfItems* references = nullptr;
    attributes.findAndGetSequence(DCM_ReferencedImageBoxSequence, references);
    // Cells past the last item of the sequence have no image box: the walk
    // stops there, however large the display format claims the film to be.
    const int items = references ? static_cast<int>(references->card()) : 0;
    const int walked = std::min(cells, items);
    dc::FilmImages images;
    for (int k = 1; k <= walked; ++k) {
        auto image = cellImage(parts_.store, attributes, k, parts_.log);
        if (image || keepEmptyCells)
            images.push_back(std::move(image));
    }
    return images;
}

void PrintJobDriver::printDirect(ps::PrintObject& filmBox, const ps::FilmBoxFormat& format,
                                 const std::string& orientation, const std::string& Rip)
{
    auto& settings = parts_.settings;
    auto& surface = parts_.surface;
    rotation_.GetNextPrt(routeIndexFor(settings, format.FilmSize, Rip), settings.routePrinters);
    surface.selectPrinter(rotation_.CurrentPrinterName());

    const dc::FilmImages View = collectImages(filmBox, cellCount(format), false);
    if (orientation == "PORTRAIT")
        surface.setOrientation(dc::Orientation::Portrait);
    else if (orientation == "LANDSCAPE")
        surface.setOrientation(dc::Orientation::Landscape);
    surface.setOrigin(settings.marginLeft, settings.marginTop);

    const dc::CompositionContext context{settings, parts_.log, parts_.messages,
                                         parts_.headerPictures, parts_.programFolder};
    float X = 0, Y = 0;
    float width = surface.pageWidth();
    float height = surface.pageHeight() - static_cast<float>(settings.header.htjcs);
    std::int16_t cols = format.FormatCols, rows = format.FormatRows;
    const std::size_t documentsBefore = surface.documents().size();
    if (format.r_c.empty())
        dc::PrintImgtoPrinter(context, surface, View, X, Y, width, height, cols, rows);
    else
        dc::PrintImgtoPrinter_rc(context, surface, View, X, Y, width, height, cols, rows, format.r_c);

    const auto& documents = surface.documents();
    if (parts_.observer && !documents.empty() && documents.size() != documentsBefore &&
        documents.back().ending == dc::FilmPage::Ending::Ended)
        parts_.observer->filmComposed(documents.back());
}

void PrintJobDriver::printTemplate(ps::PrintObject& filmBox, const ps::FilmBoxFormat& format,
                                   const std::string& orientation, const std::string& Rip)
{
    TemplateFilm film;
    film.ruid = filmBox.sopInstanceUid();
    film.Rip = Rip;
    film.FilmOrientation = orientation;
    film.FilmSize = format.FilmSize;
    film.FormatCols = format.FormatCols;
    film.FormatRows = format.FormatRows;
    film.r_c = format.r_c;
    const bool lut = parts_.settings.lutEnabled != "0";
    for (auto& image : collectImages(filmBox, cellCount(format), true)) {
        std::optional<dc::Picture> picture;
        if (image) {
            const dc::Picture plain = image->picture();
            if (!plain.isNull())
                picture = lut ? applyFilmLut(plain) : plain;
        }
        film.cells.push_back(std::move(picture));
    }
    parts_.templateComposition.composeFilm(film);
}

void PrintJobDriver::countFilm()
{
    auto& count = parts_.settings.printCount;
    count = static_cast<std::int32_t>(static_cast<std::uint32_t>(count) + 1u);  // wraps, never overflows
    if (parts_.settings.templateMode)
        parts_.templateComposition.PrintReport();
    parts_.log.write("打印第【" + std::to_string(count) + "】张胶片。");
    if (parts_.observer)
        parts_.observer->printCountChanged(count);
    parts_.printCountStore.write(count);
    parts_.log.write("打印完毕。");
}

}  // namespace vantorel::print_job
