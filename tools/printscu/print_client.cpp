#include "print_client.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcuid.h>
#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dcmtrans.h>
#include <dcmtk/dcmnet/dimse.h>
#include <dcmtk/dcmnet/dul.h>
#include <dcmtk/ofstd/ofstd.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <thread>

namespace vantorel::tools {

namespace {

const char* grayscaleMeta = "1.2.840.10008.5.1.1.9";
const char* colorMeta = "1.2.840.10008.5.1.1.18";
const char* filmSessionClass = "1.2.840.10008.5.1.1.1";
const char* filmBoxClass = "1.2.840.10008.5.1.1.2";
const char* printerClass = "1.2.840.10008.5.1.1.16";
const char* printerInstance = "1.2.840.10008.5.1.1.17";

// DCMTK keeps the socket to its transport classes; the inherited accessor's
// address, taken in a derived class, may be called on any connection.
struct SocketAccess : DcmTransportConnection {
    static DcmNativeSocketType of(DcmTransportConnection& connection)
    {
        auto accessor = &SocketAccess::getSocket;
        return (connection.*accessor)();
    }
};

std::string textOf(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    item.findAndGetOFStringArray(tag, value);
    return value.c_str();
}

void copy(DIC_UI& to, const std::string& from)
{
    OFStandard::strlcpy(to, from.c_str(), sizeof(DIC_UI));
}

// Status, affected instance and data set flag of any N-response.
bool replyFields(const T_DIMSE_Message& reply, unsigned& status, std::string& instance, bool& dataSet)
{
    switch (reply.CommandField) {
#define VANTOREL_REPLY(kind, member)                                                                         \
    case kind:                                                                                               \
        status = reply.msg.member.DimseStatus;                                                               \
        instance = reply.msg.member.AffectedSOPInstanceUID;                                                  \
        dataSet = reply.msg.member.DataSetType != DIMSE_DATASET_NULL;                                        \
        return true;
        VANTOREL_REPLY(DIMSE_N_GET_RSP, NGetRSP)
        VANTOREL_REPLY(DIMSE_N_SET_RSP, NSetRSP)
        VANTOREL_REPLY(DIMSE_N_ACTION_RSP, NActionRSP)
        VANTOREL_REPLY(DIMSE_N_CREATE_RSP, NCreateRSP)
        VANTOREL_REPLY(DIMSE_N_DELETE_RSP, NDeleteRSP)
        VANTOREL_REPLY(DIMSE_N_EVENT_REPORT_RSP, NEventReportRSP)
#undef VANTOREL_REPLY
    case DIMSE_C_ECHO_RSP:
        status = reply.msg.CEchoRSP.DimseStatus;
        dataSet = false;
        return true;
    default:
        return false;
    }
}

char hexDigit(unsigned v)
{
    return "0123456789ABCDEF"[v & 15];
}

std::string hex4(unsigned v)
{
    return {'0', 'x', hexDigit(v >> 12), hexDigit(v >> 8), hexDigit(v >> 4), hexDigit(v)};
}

}  // namespace

PrintClient::PrintClient(ClientOptions options) : options_(std::move(options)) {}

PrintClient::~PrintClient()
{
    end();
    if (association_ != nullptr)
        ASC_destroyAssociation(&association_);
    if (network_ != nullptr)
        ASC_dropNetwork(&network_);
}

int PrintClient::run()
{
    if (!connect())
        return 1;
    if (!options_.waitForFile.empty()) {
        struct stat info;
        while (::stat(options_.waitForFile.c_str(), &info) != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    bool ok = !options_.echo || echo();
    ok = ok && (!options_.getPrinter || getPrinter());
    for (const std::string& uid : options_.getObjects)
        ok = ok && getObject(filmSessionClass, uid);
    for (const std::string& uid : options_.tryObjects)
        if (ok && !ended_)
            tryObject(uid);
    for (int i = 0; ok && i < options_.sessions && !ended_; ++i)
        ok = session();
    if (cutDone_) {
        std::cout << "N-SET data set cut after " << options_.cutNSetAfterBytes << " bytes, as asked\n";
        return 0;
    }
    end();
    return ok ? 0 : 1;
}

bool PrintClient::connect()
{
    const int timeout = options_.timeoutSeconds;
    dcmSocketReceiveTimeout.set(timeout);
    dcmConnectionTimeout.set(timeout);
    if (OFCondition cond = ASC_initializeNetwork(NET_REQUESTOR, 0, timeout, &network_); cond.bad()) {
        std::cout << "network: " << cond.text() << "\n";
        return false;
    }
    T_ASC_Parameters* params = nullptr;
    ASC_createAssociationParameters(&params, ASC_DEFAULTMAXPDU);
    ASC_setAPTitles(params, options_.callingAe.c_str(), options_.calledAe.c_str(), nullptr);
    const std::string peer = options_.host + ":" + std::to_string(options_.port);
    ASC_setPresentationAddresses(params, "localhost", peer.c_str());
    const char* syntaxes[] = {UID_LittleEndianExplicitTransferSyntax, UID_LittleEndianImplicitTransferSyntax,
                              UID_BigEndianExplicitTransferSyntax};
    const char** proposed = syntaxes;
    int count = 3;
    if (options_.syntax == "implicit")
        proposed = syntaxes + 1, count = 1;
    else if (options_.syntax == "big")
        proposed = syntaxes + 2, count = 1;
    else if (options_.syntax == "little")
        count = 1;
    ASC_addPresentationContext(params, 1, options_.color ? colorMeta : grayscaleMeta, proposed, count);
    ASC_addPresentationContext(params, 3, UID_VerificationSOPClass, proposed, count);
    if (!options_.presentationLut.empty())
        ASC_addPresentationContext(params, 5, presentationLutClass, proposed, count);
    OFCondition cond = ASC_requestAssociation(network_, params, &association_);
    if (cond.bad()) {
        std::cout << "association: " << cond.text() << "\n";
        if (association_ == nullptr)
            ASC_destroyAssociationParameters(&params);
        return false;
    }
    printContext_ =
        ASC_findAcceptedPresentationContextID(association_, options_.color ? colorMeta : grayscaleMeta);
    echoContext_ = ASC_findAcceptedPresentationContextID(association_, UID_VerificationSOPClass);
    lutContext_ = ASC_findAcceptedPresentationContextID(association_, presentationLutClass);
    // Without this the second write of each message waits for the server's
    // delayed acknowledgement.
    if (DcmTransportConnection* connection = DUL_getTransportConnection(association_->DULassociation)) {
        const int noDelay = 1;
        setsockopt(SocketAccess::of(*connection), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    }
    std::cout << "association accepted\n";
    if (printContext_ == 0) {
        std::cout << "association: print management not accepted\n";
        return false;
    }
    return true;
}

bool PrintClient::session()
{
    std::string session;
    if (!options_.presentationLut.empty() && presentationLutUid_.empty() && !createPresentationLut())
        return false;
    if (options_.orphanFilmBoxes)
        session = dcmGenerateUniqueIdentifier(uidBuffer_, SITE_INSTANCE_UID_ROOT);
    else if (!createFilmSession(session))
        return false;
    if (options_.extraCommand >= 0)
        return extraCommand(session);
    if (options_.stopAfter == "session")
        return ended_ = true;
    std::vector<std::string> filmBoxes;
    int cell = 0;
    for (int f = 0; f < options_.filmBoxes; ++f) {
        std::string box;
        std::vector<std::pair<std::string, std::string>> imageBoxes;
        if (!createFilmBox(session, box, imageBoxes))
            return false;
        filmBoxes.push_back(box);
        if (options_.stopAfter == "filmbox")
            return ended_ = true;
        imageBoxesSeen_.insert(imageBoxesSeen_.end(), imageBoxes.begin(), imageBoxes.end());
        int inFilm = 0;
        for (const auto& imageBox : imageBoxes) {
            ++cell;
            if (options_.imagesPerFilm >= 0 && inFilm++ >= options_.imagesPerFilm)
                continue;  // this image box stays empty
            if (!setImageBox(imageBox, cell))
                return false;
            if (cutDone_ || options_.stopAfter == "nset")
                return ended_ = true;
        }
        if (options_.action == "box" && !action(filmBoxClass, box))
            return false;
    }
    if (options_.action == "session" && !options_.orphanFilmBoxes && !action(filmSessionClass, session))
        return false;
    if (options_.stopAfter == "action")
        return ended_ = true;
    if (options_.getCreated) {
        bool found = options_.orphanFilmBoxes || getObject(filmSessionClass, session);
        for (const std::string& box : filmBoxes)
            found = getObject(filmBoxClass, box) && found;
        for (const auto& imageBox : imageBoxesSeen_)
            found = getObject(imageBox.first, imageBox.second) && found;
        if (!found)
            return false;
    }
    if (options_.deleteObjects) {
        for (const std::string& box : filmBoxes)
            if (!remove(filmBoxClass, box))
                return false;
        return options_.orphanFilmBoxes || remove(filmSessionClass, session);
    }
    return true;
}

bool PrintClient::exchange(T_DIMSE_Message& request, DcmDataset* data, const std::string& label,
                           DcmDataset** reply)
{
    const auto started = std::chrono::steady_clock::now();
    unsigned char context = request.CommandField == DIMSE_C_ECHO_RQ ? echoContext_ : printContext_;
    if (request.CommandField == DIMSE_N_CREATE_RQ &&
        std::strcmp(request.msg.NCreateRQ.AffectedSOPClassUID, presentationLutClass) == 0)
        context = lutContext_;
    OFCondition cond =
        DIMSE_sendMessageUsingMemoryData(association_, context, &request, nullptr, data, nullptr, nullptr);
    if (cond.bad()) {
        std::cout << label << ": send failed: " << cond.text() << "\n";
        return false;
    }
    T_DIMSE_Message response;
    T_ASC_PresentationContextID replyContext = 0;
    DcmDataset* statusDetail = nullptr;
    cond = DIMSE_receiveCommand(association_, DIMSE_NONBLOCKING, options_.timeoutSeconds, &replyContext,
                                &response, &statusDetail);
    std::string errorComment;
    if (statusDetail != nullptr) {
        errorComment = textOf(*statusDetail, DCM_ErrorComment);
        delete statusDetail;
    }
    unsigned status = 0xFFFF;
    std::string instance;
    bool dataSet = false;
    if (cond.good() && !replyFields(response, status, instance, dataSet))
        cond = DIMSE_BADCOMMANDTYPE;
    DcmDataset* received = nullptr;
    if (cond.good() && dataSet)
        cond = DIMSE_receiveDataSetInMemory(association_, DIMSE_NONBLOCKING, options_.timeoutSeconds,
                                            &replyContext, &received, nullptr, nullptr);
    if (cond.bad()) {
        const bool aborted = cond == DUL_PEERABORTEDASSOCIATION;
        std::cout << label << ": " << (aborted ? "association aborted by the server" : cond.text()) << "\n";
        ended_ = true;
        if (aborted) {
            ASC_dropAssociation(association_);
            closed_ = true;
        }
        return false;
    }
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
            .count();
    std::cout << label << ": status " << hex4(status);
    if (received != nullptr)
        std::cout << ", " << received->card() << " attributes";
    if (!errorComment.empty())
        std::cout << ", error comment: " << errorComment;
    std::cout << "\n";
    if (options_.latency)
        std::cout << "latency " << label.substr(0, label.find(' ')) << " " << micros << "\n";
    if (reply != nullptr)
        *reply = received;
    else
        delete received;
    return status == 0;
}

bool PrintClient::echo()
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_C_ECHO_RQ;
    request.msg.CEchoRQ.MessageID = ++messageId_;
    copy(request.msg.CEchoRQ.AffectedSOPClassUID, UID_VerificationSOPClass);
    request.msg.CEchoRQ.DataSetType = DIMSE_DATASET_NULL;
    if (echoContext_ == 0) {
        std::cout << "C-ECHO: verification not accepted\n";
        return false;
    }
    return exchange(request, nullptr, "C-ECHO");
}

bool PrintClient::getPrinter()
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_GET_RQ;
    T_DIMSE_N_GetRQ& get = request.msg.NGetRQ;
    get.MessageID = ++messageId_;
    copy(get.RequestedSOPClassUID, printerClass);
    copy(get.RequestedSOPInstanceUID, printerInstance);
    get.DataSetType = DIMSE_DATASET_NULL;
    DIC_US attributes[] = {0x2110, 0x0010};  // Printer Status only
    get.ListCount = 2;
    get.AttributeIdentifierList = attributes;
    DcmDataset* reply = nullptr;
    const bool ok = exchange(request, nullptr, "N-GET Printer", &reply);
    if (reply != nullptr) {
        std::cout << "Printer Status: " << textOf(*reply, DCM_PrinterStatus) << "\n";
        std::cout << "Printer Status Info: " << textOf(*reply, DCM_PrinterStatusInfo) << "\n";
    }
    get.AttributeIdentifierList = nullptr;
    delete reply;
    return ok;
}

bool PrintClient::getObject(const std::string& cls, const std::string& uid)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_GET_RQ;
    T_DIMSE_N_GetRQ& get = request.msg.NGetRQ;
    get.MessageID = ++messageId_;
    copy(get.RequestedSOPClassUID, cls);
    copy(get.RequestedSOPInstanceUID, uid);
    get.DataSetType = DIMSE_DATASET_NULL;
    return exchange(request, nullptr, "N-GET " + uid);
}

bool PrintClient::createFilmSession(std::string& uid)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_CREATE_RQ;
    request.msg.NCreateRQ.MessageID = ++messageId_;
    copy(request.msg.NCreateRQ.AffectedSOPClassUID, filmSessionClass);
    if (!options_.sessionUid.empty()) {
        copy(request.msg.NCreateRQ.AffectedSOPInstanceUID, options_.sessionUid);
        request.msg.NCreateRQ.opts = O_NCREATE_AFFECTEDSOPINSTANCEUID;
    }
    request.msg.NCreateRQ.DataSetType = DIMSE_DATASET_PRESENT;
    DcmDataset data;
    if (!options_.copies.empty())
        data.putAndInsertString(DCM_NumberOfCopies, options_.copies.c_str());
    data.putAndInsertString(DCM_PrintPriority, "MED");
    data.putAndInsertString(DCM_MediumType, "BLUE FILM");
    data.putAndInsertString(DCM_FilmDestination, "MAGAZINE");
    referencePresentationLut(data, "session");
    DcmDataset* reply = nullptr;
    const bool ok = exchange(request, &data, "N-CREATE Film Session", &reply);
    if (reply != nullptr)
        uid = textOf(*reply, DCM_SOPInstanceUID);
    std::cout << "film session: " << uid << "\n";
    delete reply;
    return ok && !uid.empty();
}

// What a peer that knows another's UID might try; each status is printed.
void PrintClient::tryObject(const std::string& uid)
{
    const bool printer = uid == printerInstance;
    const std::string cls = printer ? printerClass : filmBoxClass;
    const std::string what = printer ? " Printer" : " " + uid;
    getObject(cls, uid);
    DcmDataset change;
    if (printer) {
        change.putAndInsertString(DCM_PrinterStatus, "FAILURE");
        change.putAndInsertString(DCM_PrinterStatusInfo, "FILM JAM");
    } else {
        change.putAndInsertString(DCM_FilmOrientation, "LANDSCAPE");
    }
    nSet(cls, uid, change, "N-SET" + what);
    if (printer) {
        T_DIMSE_Message request{};
        request.CommandField = DIMSE_N_CREATE_RQ;
        request.msg.NCreateRQ.MessageID = ++messageId_;
        copy(request.msg.NCreateRQ.AffectedSOPClassUID, printerClass);
        copy(request.msg.NCreateRQ.AffectedSOPInstanceUID, uid);
        request.msg.NCreateRQ.opts = O_NCREATE_AFFECTEDSOPINSTANCEUID;
        request.msg.NCreateRQ.DataSetType = DIMSE_DATASET_NULL;
        exchange(request, nullptr, "N-CREATE" + what);
    }
    nAction(cls, uid, "N-ACTION" + what);
    nDelete(cls, uid, "N-DELETE" + what);
}

bool PrintClient::nSet(const std::string& cls, const std::string& uid, DcmDataset& data,
                       const std::string& label)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_SET_RQ;
    request.msg.NSetRQ.MessageID = ++messageId_;
    copy(request.msg.NSetRQ.RequestedSOPClassUID, cls);
    copy(request.msg.NSetRQ.RequestedSOPInstanceUID, uid);
    request.msg.NSetRQ.DataSetType = DIMSE_DATASET_PRESENT;
    return exchange(request, &data, label);
}

bool PrintClient::createFilmBox(const std::string& session, std::string& uid,
                                std::vector<std::pair<std::string, std::string>>& boxes)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_CREATE_RQ;
    request.msg.NCreateRQ.MessageID = ++messageId_;
    copy(request.msg.NCreateRQ.AffectedSOPClassUID, filmBoxClass);
    request.msg.NCreateRQ.DataSetType = DIMSE_DATASET_PRESENT;
    DcmDataset data;
    data.putAndInsertString(DCM_ImageDisplayFormat, options_.format.c_str());
    data.putAndInsertString(DCM_FilmOrientation, options_.orientation.c_str());
    data.putAndInsertString(DCM_FilmSizeID, options_.filmSize.c_str());
    if (!options_.minDensity.empty())
        data.putAndInsertString(DCM_MinDensity, options_.minDensity.c_str());
    if (!options_.maxDensity.empty())
        data.putAndInsertString(DCM_MaxDensity, options_.maxDensity.c_str());
    const std::pair<DcmTagKey, const std::string*> filmBoxValues[] = {
        {DCM_BorderDensity, &options_.borderDensity},
        {DCM_EmptyImageDensity, &options_.emptyDensity},
        {DCM_Trim, &options_.trim},
        {DCM_MagnificationType, &options_.magnification},
        {DCM_SmoothingType, &options_.smoothing},
    };
    for (const auto& [tag, value] : filmBoxValues)
        if (!value->empty())
            data.putAndInsertString(tag, value->c_str());
    referencePresentationLut(data, "film-box");
    auto* reference = new DcmItem;
    reference->putAndInsertString(DCM_ReferencedSOPClassUID, filmSessionClass);
    reference->putAndInsertString(DCM_ReferencedSOPInstanceUID, session.c_str());
    data.insertSequenceItem(DCM_ReferencedFilmSessionSequence, reference);
    DcmDataset* reply = nullptr;
    const bool ok = exchange(request, &data, "N-CREATE Film Box", &reply);
    DcmSequenceOfItems* images = nullptr;
    if (reply != nullptr) {
        uid = textOf(*reply, DCM_SOPInstanceUID);
        if (reply->findAndGetSequence(DCM_ReferencedImageBoxSequence, images).good() && images != nullptr)
            for (unsigned long i = 0; i < images->card(); ++i)
                boxes.emplace_back(textOf(*images->getItem(i), DCM_ReferencedSOPClassUID),
                                   textOf(*images->getItem(i), DCM_ReferencedSOPInstanceUID));
        std::cout << "film box: " << uid << "\n";
        std::cout << "image boxes: " << boxes.size() << "\n";
        for (const auto& box : boxes)
            std::cout << "image box: " << box.second << " " << box.first << "\n";
    }
    delete reply;
    return ok && !uid.empty();
}

}  // namespace vantorel::tools
