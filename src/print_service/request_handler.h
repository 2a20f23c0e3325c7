#pragma once

#include "base/fwd.h"
#include "base/owner_thread.h"
#include "print_service/film_parameters.h"
#include "print_service/normalised_request.h"
#include "print_service/print_object.h"
#include "print_service/printer_object.h"
#include "settings/fwd.h"

#include <optional>
#include <string>

class DcmDataset;

namespace vantorel::print_service {

class PrintObjectStore;
class PrintJobPort;
struct PrintOutcome;

// Handles the five normalised requests on the main thread, in the store's
// scope of the requesting association: creates, changes, finds and removes
// print objects and starts printing on N-ACTION. Requests on objects the
// association cannot see answer 0x0112; the Printer answers N-GET only
// (0x0211, or 0x0111 for an N-CREATE of its UID); a film box whose display
// format cannot be printed is refused at N-CREATE (0x0106) and nothing is
// made; an N-ACTION whose films did not all reach their printer says so
// (status and Error Comment), and the Printer object reports the failure
// until a film prints again. Any other command is not answered.
// It reads two settings views: the service's colour conversion and, from
// composition, which road films take (the template road prints display
// formats the direct road cannot).
class RequestHandler {
public:
    RequestHandler(PrintObjectStore& store, FilmParameters& film, const settings::ServiceSettings& service,
                   const settings::CompositionSettings& composition, PrintJobPort& printJob,
                   base::RunLog& log);

    NormalisedResponse handle(NormalisedRequest& request, const AssociationInfo& association,
                              AssociationFilmSessions& filmSessions);

private:
    base::OwnerThread owner_;  // main thread only
    NormalisedResponse nGet(const NormalisedRequest& request);
    NormalisedResponse nSet(NormalisedRequest& request);
    NormalisedResponse nAction(const NormalisedRequest& request, const AssociationInfo& association);
    NormalisedResponse nCreate(NormalisedRequest& request, const AssociationInfo& association,
                               AssociationFilmSessions& filmSessions);
    NormalisedResponse nDelete(const NormalisedRequest& request);
    void createFilmBox(PrintObject& filmBox, FilmBoxFormat format, const AssociationInfo& association);
    [[nodiscard]] std::optional<FilmBoxFormat> filmBoxFormat(const NormalisedRequest& request);
    static std::string displayFormatOf(const NormalisedRequest& request);
    bool isServersObject(const std::string& classUid, const std::string& instanceUid) const;
    NormalisedResponse noSuchObject(const NormalisedRequest& request);
    NormalisedResponse printerOperation(const NormalisedRequest& request, const char* operation);
    NormalisedResponse tooLong(const std::string& classUid, const std::string& instanceUid,
                               const char* operation, const std::string& attribute);
    std::string imageBoxType(const AssociationInfo& association);
    void createImageBoxes(PrintObject& filmBox, FilmBoxFormat& format, const std::string& boxType);
    void linkToFilmSession(PrintObject& filmBox);
    void checkImage(PrintObject& imageBox);
    void notePrinterState(const PrintOutcome& outcome);

    PrintObjectStore& store_;
    FilmParameters& film_;
    const settings::ServiceSettings& service_;          // live: forceConvert
    const settings::CompositionSettings& composition_;  // live: templateMode
    PrintJobPort& printJob_;
    base::RunLog& log_;
    // The Printer object's state before films stopped reaching the printer;
    // set while they do not.
    std::optional<PrinterState> printerNormalState_;
    bool printerFailed_ = false;  // the last film that went to a printer did not reach it
    bool savingFailed_ = false;   // the last film to be saved was not
};

// Copies every attribute of `from` into `to` in order, replacing attributes
// already there; `from` is left empty.
void moveAttributes(DcmDataset& from, DcmDataset& to);

// A new unique UID below the toolkit's root.
std::string newUid();

}  // namespace vantorel::print_service
