#pragma once

#include "base/fwd.h"
#include "base/owner_thread.h"
#include "direct_composition/film_frame.h"
#include "direct_composition/film_page_surface.h"
#include "print_job/printer_routing.h"
#include "print_job/sheet_tally.h"
#include "print_service/film_parameters.h"
#include "print_service/print_job_port.h"
#include "settings/fwd.h"

#include <optional>
#include <string>

namespace vantorel::print_service {
class PrintObject;
class PrintObjectStore;
struct FilmBoxFormat;
}  // namespace vantorel::print_service

namespace vantorel::print_job {

class PrintJobObserver;
class TemplateComposition;

// What the print job driver works with; everything is owned by the caller and
// outlives the driver.
struct PrintJobParts {
    print_service::PrintObjectStore& store;
    // The live settings it reads: composition (the road, LUT, magnification,
    // margins, base and header) and routing (the direct road's printer).
    const settings::CompositionSettings& composition;
    const settings::RoutingSettings& routing;
    settings::PrintCount& printCount;              // one more for every sheet, stored at once
    direct_composition::FilmPageSurface& surface;  // the printer; tells of every ended page
    const direct_composition::HeaderPictures& headerPictures;
    TemplateComposition& templateComposition;
    base::RunLog& log;
    base::OperatorMessages& messages;
    std::string programFolder;
    PrintJobObserver& observer;  // the console, or what stands in for it
};

// `DoPrint`: turns one N-ACTION into films, one per film box and copy, each
// on its own page. A film session prints its film boxes in order; a film box
// is composed with its own display format and film size, on the printer its
// route picks (direct road) or through the template road, once per copy the
// film session asks for (1 to 99). Every sheet counts one film, printed or
// abandoned; the count is logged and persisted. The outcome says which films
// did not reach their printer and why.
class PrintJobDriver final : public print_service::PrintJobPort {
public:
    explicit PrintJobDriver(PrintJobParts parts);
    ~PrintJobDriver() override;
    PrintJobDriver(const PrintJobDriver&) = delete;
    PrintJobDriver& operator=(const PrintJobDriver&) = delete;

    print_service::PrintOutcome DoPrint(const std::string& ruid, const std::string& Rip) override;

    const PrinterRotation& rotation() const { return rotation_; }

    // A film printed outside a print job (a saved film printed again): one
    // more on the film count, shown and stored as for every film.
    void countReprintedFilm();

private:
    base::OwnerThread owner_;  // main thread only
    struct Film;               // one film box as collected for printing

    void printFilmBox(print_service::PrintObject& filmBox, int copies, const std::string& Rip,
                      SheetTally& tally);
    int copiesOf(print_service::PrintObject* filmSession);
    print_service::PrintObject* filmSessionOf(print_service::PrintObject& filmBox);
    direct_composition::FilmImages collectImages(print_service::PrintObject& filmBox, int cellCount,
                                                 direct_composition::Magnification magnification);
    direct_composition::Magnification configuredMagnification() const;
    SheetResult printDirect(const Film& film, const std::string& Rip);
    void composeTemplate(const Film& film, const std::string& Rip, bool firstCopy);
    // Counts the film, prints it when it is a template film (composed before)
    // and logs how the sheet ended.
    SheetResult finishSheet(SheetResult sheet);
    SheetResult printTemplateFilm(SheetResult sheet, std::string& printer);
    std::int32_t addOneToCount();
    void pageEnded(const direct_composition::FilmPage& page, const direct_composition::PageRelease& release);
    void notePrinterProblem(const SheetResult& sheet);
    void noteSavingProblem(const std::string& problem);

    PrintJobParts parts_;
    PrinterRotation rotation_;
    // The page-ended event of the sheet being printed on the direct road.
    std::optional<direct_composition::PageRelease> lastRelease_;
    std::string printerProblem_;  // what the observer was last told
    std::string lastPrinter_;     // the printer of the sheet on the direct road
    std::string savingProblem_;   // what the observer was last told of film saving
};

}  // namespace vantorel::print_job
