#include "print_service/dcmtk/association_worker.h"

#include "base/text.h"
#include "print_service/associations.h"
#include "print_service/dcmtk/dimse_bridge.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"
#include "print_service/sop_uids.h"

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dcmtrans.h>
#include <dcmtk/dcmnet/dimse.h>
#include <dcmtk/dcmnet/dul.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>

namespace vantorel::print_service {

using base::statusHex;

namespace {

// The socket of a connection, which DCMTK keeps to its transport classes: the
// address of the inherited accessor, taken in a derived class, is a pointer
// to a member of the base and may be called on any connection.
struct SocketAccess : DcmTransportConnection {
    static DcmNativeSocketType of(DcmTransportConnection& connection)
    {
        auto accessor = &SocketAccess::getSocket;
        return (connection.*accessor)();
    }
};

int socketOf(T_ASC_Association* association)
{
    DcmTransportConnection* connection = DUL_getTransportConnection(association->DULassociation);
    return connection == nullptr ? -1 : SocketAccess::of(*connection);
}

std::string peerAddress(int socket)
{
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    if (socket < 0 || getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address)->sin_addr, text, sizeof(text));
    else if (address.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr, text, sizeof(text));
    return text;
}

// Counts the bytes of a data set as it arrives and cuts the connection once
// it is larger than allowed, so the receive ends without reading the rest.
struct ReceiveBudget {
    unsigned long limit = 0;
    int socket = -1;
    bool exceeded = false;

    static void progress(void* context, unsigned long bytes)
    {
        auto* budget = static_cast<ReceiveBudget*>(context);
        if (bytes > budget->limit && !budget->exceeded) {
            budget->exceeded = true;
            ::shutdown(budget->socket, SHUT_RDWR);
        }
    }
};

bool dataSetFollows(const T_DIMSE_Message& message)
{
    switch (message.CommandField) {
    case DIMSE_N_GET_RQ:
        return message.msg.NGetRQ.DataSetType != DIMSE_DATASET_NULL;
    case DIMSE_N_SET_RQ:
        return message.msg.NSetRQ.DataSetType != DIMSE_DATASET_NULL;
    case DIMSE_N_ACTION_RQ:
        return message.msg.NActionRQ.DataSetType != DIMSE_DATASET_NULL;
    case DIMSE_N_CREATE_RQ:
        return message.msg.NCreateRQ.DataSetType != DIMSE_DATASET_NULL;
    case DIMSE_N_DELETE_RQ:
        return message.msg.NDeleteRQ.DataSetType != DIMSE_DATASET_NULL;
    case DIMSE_N_EVENT_REPORT_RQ:
        return message.msg.NEventReportRQ.DataSetType != DIMSE_DATASET_NULL;
    default:
        return false;
    }
}

}  // namespace

bool acceptServedContexts(T_ASC_Parameters* params)
{
    const char* abstractSyntaxes[] = {sop::grayscalePrintMeta, sop::colorPrintMeta, sop::printer,
                                      sop::presentationLut, sop::verification};
    const char* transferSyntaxes[] = {UID_LittleEndianExplicitTransferSyntax,
                                      UID_BigEndianExplicitTransferSyntax,
                                      UID_LittleEndianImplicitTransferSyntax};
    ASC_acceptContextsWithPreferredTransferSyntaxes(params, abstractSyntaxes, 5, transferSyntaxes, 3);
    return ASC_countAcceptedPresentationContexts(params) > 0;
}

AssociationWorker::AssociationWorker(T_ASC_Association* association, std::uint64_t id,
                                     MainThreadDispatcher& dispatcher, ServiceEvents& events,
                                     const ServerLimits& limits, const std::atomic<bool>& stopping)
    : association_(association),
      dispatcher_(dispatcher),
      events_(events),
      limits_(limits),
      stopping_(stopping)
{
    info_.id = id;
}

AssociationWorker::~AssociationWorker()
{
    if (association_ == nullptr)
        return;
    if (!aborted_)
        ASC_dropSCPAssociation(association_);
    else
        ASC_dropAssociation(association_);
    ASC_destroyAssociation(&association_);
}

std::string AssociationWorker::name() const
{
    return "Association " + std::to_string(info_.id) + " (" + info_.callingAeTitle + " " + info_.remoteIp +
        ")";
}

void AssociationWorker::log(const std::string& line)
{
    dispatcher_.post([events = &events_, line] { events->diagnostic(line); });
}

// Written before the worker goes on, e.g. before it aborts the association.
void AssociationWorker::logNow(const std::string& line)
{
    // A closed dispatcher (the service stopping) drops the line; there is no other log.
    (void)dispatcher_.call([events = &events_, line] { events->diagnostic(line); });
}

void AssociationWorker::run()
{
    if (negotiate())
        serve();
    if (requested_) {
        const std::uint64_t id = info_.id;
        std::string failure;
        // A closed dispatcher (the service stopping) has nobody to tell; what the work threw is logged below.
        (void)dispatcher_.call([this, id] { events_.associationClosed(id); }, &failure);
        if (!failure.empty())
            logNow(name() + ": closing failed: " + failure);
    }
}

bool isBlankAeTitle(const std::string& title)
{
    return title.find_first_not_of(std::string(" \0", 2)) == std::string::npos;
}

bool AssociationWorker::negotiate()
{
    T_ASC_Parameters* params = association_->params;
    // The server has accepted the contexts it serves (acceptServedContexts).
    const bool served = ASC_countAcceptedPresentationContexts(params) > 0;

    info_.callingAeTitle = params->DULparams.callingAPTitle;
    info_.calledAeTitle = params->DULparams.calledAPTitle;
    info_.remoteIp = peerAddress(socketOf(association_));
    T_ASC_PresentationContext first;
    if (ASC_countPresentationContexts(params) > 0 && ASC_getPresentationContext(params, 0, &first).good())
        info_.firstAbstractSyntax = first.abstractSyntax;

    // A blank title (spaces or NULs only) cannot be answered with an
    // acceptance, which names both titles: the peer is told which one is
    // not recognised instead of seeing the connection drop.
    if (isBlankAeTitle(info_.callingAeTitle)) {
        reject(ASC_RESULT_REJECTEDPERMANENT, "blank calling AE title",
               ASC_REASON_SU_CALLINGAETITLENOTRECOGNIZED);
        return false;
    }
    if (isBlankAeTitle(info_.calledAeTitle)) {
        reject(ASC_RESULT_REJECTEDPERMANENT, "blank called AE title",
               ASC_REASON_SU_CALLEDAETITLENOTRECOGNIZED);
        return false;
    }
    // A request this service cannot serve is answered with a rejection, so the
    // peer learns why instead of seeing the connection drop.
    if (!served) {
        reject(ASC_RESULT_REJECTEDPERMANENT, "no presentation context it proposes is served");
        return false;
    }
    std::string failure;
    requested_ = dispatcher_.call([this] { events_.associationRequested(info_); }, &failure);
    if (!requested_) {
        if (!failure.empty())
            logNow(name() + ": association request failed: " + failure);
        reject(ASC_RESULT_REJECTEDTRANSIENT, "the service is not taking requests");
        return false;
    }
    if (OFCondition cond = ASC_acknowledgeAssociation(association_); cond.bad()) {
        // The acceptance could not be built from what the peer proposed;
        // nothing was sent yet, so the peer can still be told.
        reject(ASC_RESULT_REJECTEDPERMANENT, std::string("accepting failed: ") + cond.text());
        return false;
    }
    const int noDelay = 1;
    setsockopt(socketOf(association_), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    return true;
}

void AssociationWorker::reject(int result, const std::string& why, int reason)
{
    T_ASC_RejectParameters reject = {static_cast<T_ASC_RejectParametersResult>(result),
                                     ASC_SOURCE_SERVICEUSER,
                                     static_cast<T_ASC_RejectParametersReason>(reason)};
    const OFCondition cond = ASC_rejectAssociation(association_, &reject);
    log(name() + ": association rejected: " + why +
        (cond.good() ? "" : std::string(" (") + cond.text() + ")"));
    aborted_ = true;
}

void AssociationWorker::serve()
{
    auto lastActivity = std::chrono::steady_clock::now();
    for (;;) {
        // Idle until the first byte of the next message; from then on, each
        // fragment of the command must follow within the DIMSE time-out.
        if (!ASC_dataWaiting(association_, 1)) {
            const auto idle = std::chrono::steady_clock::now() - lastActivity;
            if (stopping_) {
                abandon("service stopping");
                return;
            }
            if (idle >= std::chrono::seconds(limits_.idleTimeoutSeconds)) {
                abandon("nothing received for " + std::to_string(limits_.idleTimeoutSeconds) + " s");
                return;
            }
            continue;
        }
        T_ASC_PresentationContextID context = 0;
        T_DIMSE_Message message;
        OFCondition cond = DIMSE_receiveCommand(association_, DIMSE_NONBLOCKING, limits_.dimseTimeoutSeconds,
                                                &context, &message, nullptr);
        if (cond == DUL_PEERREQUESTEDRELEASE) {
            ASC_acknowledgeRelease(association_);
            return;
        }
        if (cond == DUL_PEERABORTEDASSOCIATION) {
            log(name() + ": aborted by the peer");
            aborted_ = true;
            return;
        }
        if (cond == DIMSE_NODATAAVAILABLE) {
            abandon("command not complete within " + std::to_string(limits_.dimseTimeoutSeconds) + " s");
            return;
        }
        if (cond.bad()) {
            abandon(std::string("receiving a command failed (") + cond.text() + ")");
            return;
        }
        releaseCommand(message);
        if (!serveCommand(message, context))
            return;
        lastActivity = std::chrono::steady_clock::now();
    }
}

void AssociationWorker::abort()
{
    ASC_abortAssociation(association_);
    aborted_ = true;
}

bool AssociationWorker::abandon(const std::string& why)
{
    log(name() + ": " + why + ", association aborted");
    abort();
    return false;
}

bool AssociationWorker::serveCommand(T_DIMSE_Message& message, unsigned char context)
{
    if (message.CommandField == DIMSE_C_ECHO_RQ)
        return DIMSE_sendEchoResponse(association_, context, &message.msg.CEchoRQ, STATUS_Success, nullptr)
            .good();

    std::optional<NormalisedRequest> request = decodeRequest(message);
    if (!request)
        return abandon("command " + statusHex(message.CommandField) + " is not served");
    if (dataSetFollows(message) && !receiveDataSet(*request))
        return false;
    return answer(*request, context);
}

bool AssociationWorker::receiveDataSet(NormalisedRequest& request)
{
    request.dataSet = std::make_unique<DcmDataset>();
    DcmDataset* received = request.dataSet.get();
    ReceiveBudget budget{limits_.maxDataSetBytes, socketOf(association_)};
    T_ASC_PresentationContextID context = 0;
    OFCondition cond =
        DIMSE_receiveDataSetInMemory(association_, DIMSE_NONBLOCKING, limits_.dimseTimeoutSeconds, &context,
                                     &received, &ReceiveBudget::progress, &budget);
    if (budget.exceeded) {
        log(name() + ": data set of " + statusHex(request.commandField) + " larger than " +
            std::to_string(limits_.maxDataSetBytes) + " bytes, association aborted");
        aborted_ = true;
        return false;
    }
    if (cond.bad())
        return abandon("data set of " + statusHex(request.commandField) + " not received (" + cond.text() +
                       ")");
    return true;
}

bool AssociationWorker::answer(NormalisedRequest& request, unsigned char context)
{
    NormalisedResponse response;
    std::string failure;
    const bool handled =
        dispatcher_.call([&] { response = events_.normalisedRequest(info_, request); }, &failure);
    const std::string what = statusHex(request.commandField) + " " + request.requestedSopInstanceUid +
        request.affectedSopInstanceUid;
    if (!failure.empty()) {
        logNow(name() + ": " + what + " failed: " + failure + ", association aborted");
        abort();
        return false;
    }
    if (!handled || !response.answered)
        return abandon(what + " was not answered");
    T_DIMSE_Message reply = encodeResponse(request, response);
    const auto statusDetail = encodeStatusDetail(response);
    OFCondition cond = DIMSE_sendMessageUsingMemoryData(association_, context, &reply, statusDetail.get(),
                                                        response.dataSet.get(), nullptr, nullptr);
    if (cond.bad())
        return abandon("sending the response to " + statusHex(request.commandField) + " failed (" +
                       cond.text() + ")");
    return true;
}

}  // namespace vantorel::print_service
