#pragma once

#include "direct_composition/film_frame.h"
#include "print_job/printer_routing.h"
#include "print_service/film_parameters.h"
#include "print_service/print_job_port.h"

#include <string>

namespace vantorel::console {
struct Settings;
class RunLog;
class OperatorMessages;
class PrintCountStore;
}  // namespace vantorel::console

namespace vantorel::print_service {
class PrintObject;
class PrintObjectStore;
struct FilmBoxFormat;
}  // namespace vantorel::print_service

namespace vantorel::direct_composition {
class RecordingSurface;
}

namespace vantorel::print_job {

class PrintJobObserver;
class TemplateComposition;

// What the print job driver works with; everything is owned by the caller and
// outlives the driver.
struct PrintJobParts {
    print_service::PrintObjectStore& store;
    const print_service::FilmParameters& serviceFilm;  // for film boxes without a format of their own
    console::Settings& settings;                       // live settings; printCount is kept here
    console::PrintCountStore& printCountStore;
    direct_composition::RecordingSurface& surface;     // a printer that keeps its page description
    const direct_composition::HeaderPictures& headerPictures;
    TemplateComposition& templateComposition;
    console::RunLog& log;
    console::OperatorMessages& messages;
    std::string programFolder;
    PrintJobObserver* observer = nullptr;  // the console, when there is one
};

// `DoPrint`: turns one N-ACTION into films, one per film box, each on its own
// page. A film session prints its film boxes in order; a film box is composed
// with its own display format and film size, on the printer its route picks
// (direct road) or through the template road. Every film box counts one film,
// printed or abandoned; the count is logged and persisted.
class PrintJobDriver final : public print_service::PrintJobPort {
public:
    explicit PrintJobDriver(PrintJobParts parts);

    void DoPrint(const std::string& ruid, const std::string& Rip) override;

    const PrinterRotation& rotation() const { return rotation_; }

private:
    void printFilmBox(print_service::PrintObject& filmBox, const std::string& Rip);
    direct_composition::FilmImages collectImages(print_service::PrintObject& filmBox,
                                                 int cellCount, bool keepEmptyCells);
    print_service::FilmBoxFormat formatOf(const print_service::PrintObject& filmBox) const;
    void printDirect(print_service::PrintObject& filmBox,
                     const print_service::FilmBoxFormat& format, const std::string& orientation,
                     const std::string& Rip);
    void printTemplate(print_service::PrintObject& filmBox,
                       const print_service::FilmBoxFormat& format, const std::string& orientation,
                       const std::string& Rip);
    void countFilm();

    PrintJobParts parts_;
    PrinterRotation rotation_;
};

}  // namespace vantorel::print_job
