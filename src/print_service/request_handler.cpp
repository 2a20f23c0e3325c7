#include "print_service/request_handler.h"

#include "base/run_log.h"
#include "base/text.h"
#include "print_service/attribute_check.h"
#include "print_service/attribute_text.h"
#include "print_service/display_format.h"
#include "print_service/image_check.h"
#include "print_service/print_job_port.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/sop_uids.h"
#include "settings/settings_model.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <random>

namespace vantorel::print_service {

namespace {

// Status 0: a request on one of the association's own objects is answered
// with success even for attributes not taken, because modalities end the
// whole print session at the first non-zero status. Refused are requests on
// objects the association cannot see (refused() with 0x0112: another
// association's and unknown ones alike), operations the Printer does not
// have, and film boxes that cannot be printed; an N-ACTION whose films did
// not all print says so; Associations refuses requests beyond the service's
// limits.
NormalisedResponse statusOnly(const std::string& classUid, const std::string& instanceUid)
{
    NormalisedResponse response;
    response.answered = true;
    response.affectedSopClassUid = classUid;
    response.affectedSopInstanceUid = instanceUid;
    return response;
}

NormalisedResponse refused(const std::string& classUid, const std::string& instanceUid, std::uint16_t status,
                           std::string comment)
{
    NormalisedResponse response = statusOnly(classUid, instanceUid);
    response.status = status;
    response.errorComment = std::move(comment);
    return response;
}

// 128 random bits as a decimal number.
std::string randomDecimal128()
{
    std::random_device source;
    unsigned __int128 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 32) | source();
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

}  // namespace

void moveAttributes(DcmDataset& from, DcmDataset& to)
{
    while (from.card() > 0) {
        DcmElement* element = from.remove(static_cast<unsigned long>(0));
        if (element == nullptr)
            break;
        if (to.insert(element, OFTrue).bad())
            delete element;
    }
}

std::string newUid()
{
    // A UUID-derived UID (ISO/IEC 9834-8): nobody can guess another
    // association's objects from its own.
    return "2.25." + randomDecimal128();
}

RequestHandler::RequestHandler(PrintObjectStore& store, FilmParameters& film,
                               const settings::ServiceSettings& service,
                               const settings::CompositionSettings& composition, PrintJobPort& printJob,
                               base::RunLog& log)
    : store_(store), film_(film), service_(service), composition_(composition), printJob_(printJob), log_(log)
{}

NormalisedResponse RequestHandler::handle(NormalisedRequest& request, const AssociationInfo& association,
                                          AssociationFilmSessions& filmSessions)
{
    owner_.check("RequestHandler::handle");
    switch (request.commandField) {
    case command::nGet:
        return nGet(request);
    case command::nSet:
        return nSet(request);
    case command::nAction:
        return nAction(request, association);
    case command::nCreate:
        return nCreate(request, association, filmSessions);
    case command::nDelete:
        return nDelete(request);
    default:
        return {};  // not answered
    }
}

NormalisedResponse RequestHandler::nGet(const NormalisedRequest& request)
{
    log_.write("N-GET{");
    log_.write("Dataset(rclass, ruid),rclass=" + request.requestedSopClassUid);
    log_.write("Dataset(rclass, ruid),ruid=" + request.requestedSopInstanceUid);
    const PrintObject* object = store_.Dataset(request.requestedSopClassUid, request.requestedSopInstanceUid);
    if (object == nullptr)
        return noSuchObject(request);
    NormalisedResponse response = statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
    response.dataSet = std::make_unique<DcmDataset>(object->attributes());
    return response;
}

bool RequestHandler::isServersObject(const std::string& classUid, const std::string& instanceUid) const
{
    return classUid == sop::printer ||
        (store_.scope() != serverScope && store_.find(serverScope, instanceUid) != nullptr);
}

NormalisedResponse RequestHandler::noSuchObject(const NormalisedRequest& request)
{
    log_.write("Request on " + request.requestedSopInstanceUid +
               " refused: no such object on this association");
    return refused(request.requestedSopClassUid, request.requestedSopInstanceUid,
                   print_status::noSuchObjectInstance, "No such SOP instance");
}

NormalisedResponse RequestHandler::tooLong(const std::string& classUid, const std::string& instanceUid,
                                           const char* operation, const std::string& attribute)
{
    log_.write(std::string(operation) + " " + base::loggedValue(instanceUid) + " refused: attribute " +
               attribute);
    return refused(classUid, instanceUid, print_status::invalidAttributeValue,
                   "Attribute " + attribute.substr(0, attribute.find(' ')) + " longer than its VR allows");
}

NormalisedResponse RequestHandler::printerOperation(const NormalisedRequest& request, const char* operation)
{
    log_.write(std::string(operation) + " on the Printer refused: the Printer supports N-GET only");
    const bool create = request.commandField == command::nCreate;
    return refused(create ? request.affectedSopClassUid : request.requestedSopClassUid,
                   create ? request.affectedSopInstanceUid : request.requestedSopInstanceUid,
                   print_status::unrecognizedOperation,
                   std::string(operation) + " not supported on the Printer");
}

NormalisedResponse RequestHandler::nSet(NormalisedRequest& request)
{
    if (isServersObject(request.requestedSopClassUid, request.requestedSopInstanceUid))
        return printerOperation(request, "N-SET");
    PrintObject* object = store_.Dataset(request.requestedSopClassUid, request.requestedSopInstanceUid);
    if (object == nullptr)
        return noSuchObject(request);
    if (request.dataSet) {
        if (auto overlong = overlongAttribute(*request.dataSet))
            return tooLong(request.requestedSopClassUid, request.requestedSopInstanceUid, "N-SET", *overlong);
        moveAttributes(*request.dataSet, object->attributes());
        checkImage(*object);
    }
    return statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
}

NormalisedResponse RequestHandler::nAction(const NormalisedRequest& request,
                                           const AssociationInfo& association)
{
    if (isServersObject(request.requestedSopClassUid, request.requestedSopInstanceUid))
        return printerOperation(request, "N-ACTION");
    log_.write("Action{");
    log_.write("CallingAE=" + association.callingAeTitle + ";IP=" + association.remoteIp);
    log_.write("SendStatus 0}");
    const PrintOutcome outcome = printJob_.DoPrint(request.requestedSopInstanceUid, association.remoteIp);
    notePrinterState(outcome);
    NormalisedResponse response = statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
    response.status = outcome.status;
    response.errorComment = outcome.errorComment;
    if (outcome.status != print_status::success)
        log_.write("N-ACTION " + request.requestedSopInstanceUid + " answered " +
                   base::statusHex(outcome.status) + ": " + outcome.errorComment);
    return response;
}

// The Printer object tells a modality that asks (N-GET) whether films reach
// the printer (FAILURE until the next film prints) and, less grave, whether
// they are saved (WARNING, "FILM SAVING FAILED", until a film is saved
// again); without either it says what it said before.
void RequestHandler::notePrinterState(const PrintOutcome& outcome)
{
    const bool wasFailed = printerFailed_;
    const bool wasUnsaved = savingFailed_;
    if (outcome.printer == PrintOutcome::Printer::Failed)
        printerFailed_ = true;
    else if (outcome.printer == PrintOutcome::Printer::Normal)
        printerFailed_ = false;
    if (outcome.filmSaving == PrintOutcome::FilmSaving::Failed)
        savingFailed_ = true;
    else if (outcome.filmSaving == PrintOutcome::FilmSaving::Saved)
        savingFailed_ = false;
    if ((printerFailed_ || savingFailed_) && !printerNormalState_)
        printerNormalState_ = printerState(store_);
    if (printerFailed_)
        setPrinterState(store_, printerFailureState);
    else if (savingFailed_)
        setPrinterState(store_, filmSavingFailureState);
    else if (printerNormalState_)
        setPrinterState(store_, *printerNormalState_);
    if (!printerFailed_ && !savingFailed_)
        printerNormalState_.reset();

    if (outcome.printer == PrintOutcome::Printer::Failed)
        log_.write("Printer Status FAILURE: " + outcome.printerProblem);
    else if (wasFailed && !printerFailed_)
        log_.write("Printer Status " + printerState(store_).status + ": films print again");
    if (savingFailed_ && !wasUnsaved)
        log_.write("Printer Status WARNING: film not saved: " + outcome.filmSavingProblem);
    else if (wasUnsaved && !savingFailed_)
        log_.write("Printer Status " + printerState(store_).status + ": films are saved again");
}

NormalisedResponse RequestHandler::nCreate(NormalisedRequest& request, const AssociationInfo& association,
                                           AssociationFilmSessions& filmSessions)
{
    log_.write("N-CREATE{");
    if (request.affectedSopClassUid == sop::printer)
        return printerOperation(request, "N-CREATE");
    if (!request.affectedSopInstanceUid.empty() &&
        isServersObject(request.affectedSopClassUid, request.affectedSopInstanceUid)) {
        log_.write("N-CREATE " + request.affectedSopInstanceUid + " refused: the server's own instance");
        return refused(request.affectedSopClassUid, request.affectedSopInstanceUid,
                       print_status::duplicateSopInstance, "SOP Instance UID in use");
    }
    if (request.dataSet) {
        if (auto overlong = overlongAttribute(*request.dataSet))
            return tooLong(request.affectedSopClassUid, request.affectedSopInstanceUid, "N-CREATE",
                           *overlong);
    }
    std::optional<FilmBoxFormat> format;
    if (request.affectedSopClassUid == sop::basicFilmBox) {
        format = filmBoxFormat(request);
        if (!format)
            return refused(request.affectedSopClassUid, request.affectedSopInstanceUid,
                           print_status::invalidAttributeValue,
                           "Image Display Format \"" + base::loggedValue(displayFormatOf(request)) +
                               "\" cannot be printed");
    }
    PrintObject& object = store_.newDataSet();
    if (request.dataSet)
        moveAttributes(*request.dataSet, object.attributes());
    object.attributes().putAndInsertString(DCM_SOPClassUID, request.affectedSopClassUid.c_str());
    const std::string uid =
        request.affectedSopInstanceUid.empty() ? newUid() : request.affectedSopInstanceUid;
    store_.assignInstanceUid(object, uid);

    if (format)
        createFilmBox(object, *format, association);
    if (request.affectedSopClassUid == sop::basicFilmSession)
        filmSessions.push_back(object.ref());
    // Any object may carry an image sequence, and a film box's references (or
    // an N-ACTION naming the object itself) can lead printing to it: check
    // every new object as every N-SET is checked.
    checkImage(object);

    log_.write("SendData 0}");
    NormalisedResponse response = statusOnly(request.affectedSopClassUid, uid);
    response.dataSet = std::make_unique<DcmDataset>(object.attributes());
    return response;
}

NormalisedResponse RequestHandler::nDelete(const NormalisedRequest& request)
{
    if (isServersObject(request.requestedSopClassUid, request.requestedSopInstanceUid))
        return printerOperation(request, "N-DELETE");
    if (store_.find(store_.scope(), request.requestedSopInstanceUid) == nullptr)
        return noSuchObject(request);
    log_.write("Delete{");
    store_.remove(request.requestedSopClassUid, request.requestedSopInstanceUid);
    log_.write("SendStatus 0}");
    return statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
}

std::string RequestHandler::displayFormatOf(const NormalisedRequest& request)
{
    return request.dataSet ? allValuesOf(*request.dataSet, DCM_ImageDisplayFormat) : std::string();
}

// The film box's own grid and film size, decoded from the request (with the
// run log's lines); nothing when its display format cannot be printed.
std::optional<FilmBoxFormat> RequestHandler::filmBoxFormat(const NormalisedRequest& request)
{
    FilmBoxFormat format;
    format.FilmSize = request.dataSet ? allValuesOf(*request.dataSet, DCM_FilmSizeID) : std::string();
    log_.write("FilmSize=" + base::loggedValue(format.FilmSize));
    format.displayFormat = displayFormatOf(request);
    const DecodedFormat decoded = DecodeFormat(format.displayFormat, log_);
    if (auto problem = unprintableFormat(format.displayFormat, decoded, !composition_.templateMode)) {
        log_.write("Film box refused: Image Display Format \"" + base::loggedValue(format.displayFormat) +
                   "\" cannot be printed (" + *problem + ")");
        return std::nullopt;
    }
    format.decoded = true;
    format.FormatCols = *decoded.X;
    format.FormatRows = *decoded.Y;
    format.r_c = decoded.r_c;
    format.lines = decoded.lines;
    // The service-wide values only follow, for the log lines.
    film_.FilmSize = format.FilmSize;
    film_.FormatCols = format.FormatCols;
    film_.FormatRows = format.FormatRows;
    film_.r_c = format.r_c;
    log_.write("Format=" + std::to_string(format.FormatCols) + "x" + std::to_string(format.FormatRows));
    return format;
}

void RequestHandler::createFilmBox(PrintObject& filmBox, FilmBoxFormat format,
                                   const AssociationInfo& association)
{
    const std::string boxType = imageBoxType(association);
    log_.write("ImageBoxType=" + boxType);
    log_.write("r_c=" + format.r_c);

    createImageBoxes(filmBox, format, boxType);
    filmBox.setFilmBoxFormat(format);
    linkToFilmSession(filmBox);
}

std::string RequestHandler::imageBoxType(const AssociationInfo& association)
{
    log_.write("MetaSOPClass=" + association.firstAbstractSyntax);
    if (association.firstAbstractSyntax == sop::grayscalePrintMeta) {
        log_.write("接收到黑白胶片打印指令。");
        return sop::basicGrayscaleImageBox;
    }
    log_.write("接收到彩色胶片打印指令。");
    if (service_.forceConvert) {
        log_.write("强制打印灰度胶片。");
        return sop::basicGrayscaleImageBox;
    }
    return sop::colorImageBoxReference;
}

void RequestHandler::createImageBoxes(PrintObject& filmBox, FilmBoxFormat& format, const std::string& boxType)
{
    const auto count = imageBoxCount(format.FormatCols, format.FormatRows, format.r_c, format.lines);
    if (!count) {
        log_.write("Film box " + filmBox.sopInstanceUid() + ": format \"" + format.displayFormat +
                   "\" gives no usable image box count, no image boxes created");
    }
    auto* sequence = new DcmSequenceOfItems(DCM_ReferencedImageBoxSequence);
    for (int cell = 1; cell <= count.value_or(0); ++cell) {
        PrintObject& imageBox = store_.newDataSet();
        const std::string uid = newUid();
        store_.assignInstanceUid(imageBox, uid);
        imageBox.attributes().putAndInsertString(DCM_ReferencedSOPInstanceUID, uid.c_str());
        imageBox.attributes().putAndInsertString(DCM_ReferencedSOPClassUID, boxType.c_str());
        filmBox.appendChild({boxType, uid});

        auto* item = new DcmItem();
        item->putAndInsertString(DCM_ReferencedSOPClassUID, boxType.c_str());
        item->putAndInsertString(DCM_ReferencedSOPInstanceUID, uid.c_str());
        sequence->append(item);
    }
    format.imageBoxCount = count.value_or(0);
    filmBox.attributes().insert(sequence, OFTrue);
}

void RequestHandler::linkToFilmSession(PrintObject& filmBox)
{
    DcmSequenceOfItems* sessions = nullptr;
    if (filmBox.attributes().findAndGetSequence(DCM_ReferencedFilmSessionSequence, sessions).bad() ||
        sessions == nullptr)
        return;
    if (PrintObject* session = store_.datasetFromSequence(*sessions, 1))
        session->appendChild(filmBox.ref());
}

void RequestHandler::checkImage(PrintObject& imageBox)
{
    if (auto problem = dropUnusableImage(imageBox.attributes()))
        log_.write("Image box " + imageBox.sopInstanceUid() + ": " + *problem);
}

}  // namespace vantorel::print_service
