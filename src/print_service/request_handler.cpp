#include "print_service/request_handler.h"

#include "console/run_log.h"
#include "console/settings_model.h"
#include "print_service/display_format.h"
#include "print_service/image_check.h"
#include "print_service/print_job_port.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/sop_uids.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcuid.h>

namespace vantorel::print_service {

namespace {

std::string textOf(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    if (item.findAndGetOFStringArray(tag, value).bad())
        return {};
    return value.c_str();
}

std::string statusText(std::uint16_t status)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += digits[(status >> shift) & 0xF];
    return text;
}

// Status 0 on purpose: every N-GET, N-SET, N-CREATE and N-DELETE is answered
// with success, even for an unknown object or attributes not taken, because
// modalities end the whole print session at the first non-zero status. Only
// an N-ACTION whose films did not all print answers otherwise (nAction), and
// Associations refuses requests beyond the service's limits.
NormalisedResponse statusOnly(const std::string& classUid, const std::string& instanceUid)
{
    NormalisedResponse response;
    response.answered = true;
    response.affectedSopClassUid = classUid;
    response.affectedSopInstanceUid = instanceUid;
    return response;
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
    char uid[100];
    dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT);
    return uid;
}

RequestHandler::RequestHandler(PrintObjectStore& store, FilmParameters& film,
                               const console::Settings& settings, PrintJobPort& printJob,
                               console::RunLog& log)
    : store_(store), film_(film), settings_(settings), printJob_(printJob), log_(log)
{
}

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
    NormalisedResponse response =
        statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
    if (const PrintObject* object =
            store_.Dataset(request.requestedSopClassUid, request.requestedSopInstanceUid))
        response.dataSet = std::make_unique<DcmDataset>(object->attributes());
    return response;
}

NormalisedResponse RequestHandler::nSet(NormalisedRequest& request)
{
    PrintObject* object = store_.Dataset(request.requestedSopClassUid, request.requestedSopInstanceUid);
    if (object != nullptr && request.dataSet) {
        moveAttributes(*request.dataSet, object->attributes());
        checkImage(*object);
    }
    return statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
}

NormalisedResponse RequestHandler::nAction(const NormalisedRequest& request,
                                           const AssociationInfo& association)
{
    log_.write("Action{");
    log_.write("CallingAE=" + association.callingAeTitle + ";IP=" + association.remoteIp);
    log_.write("SendStatus 0}");
    const PrintOutcome outcome = printJob_.DoPrint(request.requestedSopInstanceUid, association.remoteIp);
    // The Printer object tells a modality that asks (N-GET) whether films
    // reach the printer, until the next film prints.
    if (outcome.printer == PrintOutcome::Printer::Failed) {
        if (!printerNormalState_)
            printerNormalState_ = printerState(store_);
        setPrinterState(store_, printerFailureState);
        log_.write("Printer Status FAILURE: " + outcome.printerProblem);
    } else if (outcome.printer == PrintOutcome::Printer::Normal && printerNormalState_) {
        setPrinterState(store_, *printerNormalState_);
        printerNormalState_.reset();
        log_.write("Printer Status " + printerState(store_).status + ": films print again");
    }
    NormalisedResponse response =
        statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
    response.status = outcome.status;
    response.errorComment = outcome.errorComment;
    if (outcome.status != print_status::success)
        log_.write("N-ACTION " + request.requestedSopInstanceUid + " answered " +
                   statusText(outcome.status) + ": " + outcome.errorComment);
    return response;
}

NormalisedResponse RequestHandler::nCreate(NormalisedRequest& request, const AssociationInfo& association,
                                           AssociationFilmSessions& filmSessions)
{
    log_.write("N-CREATE{");
    PrintObject& object = store_.NewDataSet();
    if (request.dataSet)
        moveAttributes(*request.dataSet, object.attributes());
    object.attributes().putAndInsertString(DCM_SOPClassUID, request.affectedSopClassUid.c_str());
    const std::string uid =
        request.affectedSopInstanceUid.empty() ? newUid() : request.affectedSopInstanceUid;
    store_.assignInstanceUid(object, uid);

    if (request.affectedSopClassUid == sop::basicFilmBox)
        createFilmBox(object, association);
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
    log_.write("Delete{");
    store_.Remove(request.requestedSopClassUid, request.requestedSopInstanceUid);
    log_.write("SendStatus 0}");
    return statusOnly(request.requestedSopClassUid, request.requestedSopInstanceUid);
}

void RequestHandler::createFilmBox(PrintObject& filmBox, const AssociationInfo& association)
{
    DcmDataset& attributes = filmBox.attributes();
    film_.FilmSize = textOf(attributes, DCM_FilmSizeID);
    log_.write("FilmSize=" + film_.FilmSize);

    FilmBoxFormat format;
    format.FilmSize = film_.FilmSize;
    format.displayFormat = textOf(attributes, DCM_ImageDisplayFormat);
    const DecodedFormat decoded = DecodeFormat(format.displayFormat, log_);
    film_.FormatCols = decoded.X.value_or(film_.FormatCols);
    film_.FormatRows = decoded.Y.value_or(film_.FormatRows);
    film_.r_c = decoded.r_c;
    format.decoded = decoded.decoded();
    format.FormatCols = film_.FormatCols;
    format.FormatRows = film_.FormatRows;
    format.r_c = film_.r_c;
    log_.write("Format=" + std::to_string(film_.FormatCols) + "x" + std::to_string(film_.FormatRows));

    const std::string boxType = imageBoxType(association);
    log_.write("ImageBoxType=" + boxType);
    log_.write("r_c=" + film_.r_c);

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
    if (settings_.forceConvert) {
        log_.write("强制打印灰度胶片。");
        return sop::basicGrayscaleImageBox;
    }
    return sop::colorImageBoxReference;
}

void RequestHandler::createImageBoxes(PrintObject& filmBox, FilmBoxFormat& format,
                                      const std::string& boxType)
{
    const auto count = imageBoxCount(format.FormatCols, format.FormatRows, format.r_c);
    if (!count) {
        log_.write("Film box " + filmBox.sopInstanceUid() + ": format \"" + format.displayFormat +
                   "\" gives no usable image box count, no image boxes created");
    }
    auto* sequence = new DcmSequenceOfItems(DCM_ReferencedImageBoxSequence);
    for (int cell = 1; cell <= count.value_or(0); ++cell) {
        PrintObject& imageBox = store_.NewDataSet();
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
    if (PrintObject* session = store_.DatasetFromSequence(*sessions, 1))
        session->appendChild(filmBox.ref());
}

void RequestHandler::checkImage(PrintObject& imageBox)
{
    if (auto problem = dropUnusableImage(imageBox.attributes()))
        log_.write("Image box " + imageBox.sopInstanceUid() + ": " + *problem);
}

}  // namespace vantorel::print_service
