#include "print_service/dcmtk/dimse_bridge.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/ofstd/ofstd.h>

#include <cstdlib>
#include <cstring>

namespace vantorel::print_service {

namespace {

void copyUid(DIC_UI& to, const std::string& from)
{
    OFStandard::strlcpy(to, from.c_str(), sizeof(DIC_UI));
}

template <typename Rq> NormalisedRequest requested(std::uint16_t field, const Rq& rq)
{
    NormalisedRequest request;
    request.commandField = field;
    request.messageId = rq.MessageID;
    request.requestedSopClassUid = rq.RequestedSOPClassUID;
    request.requestedSopInstanceUid = rq.RequestedSOPInstanceUID;
    return request;
}

template <typename Rsp>
void fill(Rsp& rsp, std::uint16_t messageId, const NormalisedResponse& response, unsigned int opts)
{
    rsp.MessageIDBeingRespondedTo = messageId;
    rsp.DimseStatus = response.status;
    copyUid(rsp.AffectedSOPClassUID, response.affectedSopClassUid);
    copyUid(rsp.AffectedSOPInstanceUID, response.affectedSopInstanceUid);
    rsp.DataSetType = response.dataSet ? DIMSE_DATASET_PRESENT : DIMSE_DATASET_NULL;
    rsp.opts = opts;
}

}  // namespace

std::optional<NormalisedRequest> decodeRequest(const T_DIMSE_Message& message)
{
    switch (message.CommandField) {
    case DIMSE_N_GET_RQ:
        return requested(command::nGet, message.msg.NGetRQ);
    case DIMSE_N_SET_RQ:
        return requested(command::nSet, message.msg.NSetRQ);
    case DIMSE_N_ACTION_RQ: {
        NormalisedRequest request = requested(command::nAction, message.msg.NActionRQ);
        request.actionTypeId = message.msg.NActionRQ.ActionTypeID;
        return request;
    }
    case DIMSE_N_DELETE_RQ:
        return requested(command::nDelete, message.msg.NDeleteRQ);
    case DIMSE_N_CREATE_RQ: {
        NormalisedRequest request;
        request.commandField = command::nCreate;
        request.messageId = message.msg.NCreateRQ.MessageID;
        request.affectedSopClassUid = message.msg.NCreateRQ.AffectedSOPClassUID;
        if (message.msg.NCreateRQ.opts & O_NCREATE_AFFECTEDSOPINSTANCEUID)
            request.affectedSopInstanceUid = message.msg.NCreateRQ.AffectedSOPInstanceUID;
        return request;
    }
    case DIMSE_N_EVENT_REPORT_RQ: {
        NormalisedRequest request;
        request.commandField = command::nEventReport;
        request.messageId = message.msg.NEventReportRQ.MessageID;
        request.affectedSopClassUid = message.msg.NEventReportRQ.AffectedSOPClassUID;
        request.affectedSopInstanceUid = message.msg.NEventReportRQ.AffectedSOPInstanceUID;
        return request;
    }
    default:
        return std::nullopt;
    }
}

void releaseCommand(T_DIMSE_Message& message)
{
    if (message.CommandField != DIMSE_N_GET_RQ)
        return;
    std::free(message.msg.NGetRQ.AttributeIdentifierList);
    message.msg.NGetRQ.AttributeIdentifierList = nullptr;
    message.msg.NGetRQ.ListCount = 0;
}

T_DIMSE_Message encodeResponse(const NormalisedRequest& request, const NormalisedResponse& response)
{
    T_DIMSE_Message message;
    std::memset(&message, 0, sizeof(message));
    message.CommandField = DIMSE_NOTHING;
    const auto answer = [&](T_DIMSE_Command field, auto& rsp, unsigned int affectedUids) {
        message.CommandField = field;
        fill(rsp, request.messageId, response, affectedUids);
    };
    switch (request.commandField) {
    case command::nGet:
        answer(DIMSE_N_GET_RSP, message.msg.NGetRSP,
               O_NGET_AFFECTEDSOPCLASSUID | O_NGET_AFFECTEDSOPINSTANCEUID);
        break;
    case command::nSet:
        answer(DIMSE_N_SET_RSP, message.msg.NSetRSP,
               O_NSET_AFFECTEDSOPCLASSUID | O_NSET_AFFECTEDSOPINSTANCEUID);
        break;
    case command::nAction:
        answer(DIMSE_N_ACTION_RSP, message.msg.NActionRSP,
               O_NACTION_AFFECTEDSOPCLASSUID | O_NACTION_AFFECTEDSOPINSTANCEUID);
        break;
    case command::nCreate:
        answer(DIMSE_N_CREATE_RSP, message.msg.NCreateRSP,
               O_NCREATE_AFFECTEDSOPCLASSUID | O_NCREATE_AFFECTEDSOPINSTANCEUID);
        break;
    case command::nDelete:
        answer(DIMSE_N_DELETE_RSP, message.msg.NDeleteRSP,
               O_NDELETE_AFFECTEDSOPCLASSUID | O_NDELETE_AFFECTEDSOPINSTANCEUID);
        break;
    default:
        break;
    }
    return message;
}

std::unique_ptr<DcmDataset> encodeStatusDetail(const NormalisedResponse& response)
{
    if (response.errorComment.empty())
        return nullptr;
    // LO: at most 64 characters, no backslash, no control characters; the
    // command set has no character set of its own, so plain ASCII only.
    constexpr std::size_t longest = 64;
    std::string comment;
    for (const char c : response.errorComment) {
        if (comment.size() == longest)
            break;
        const auto byte = static_cast<unsigned char>(c);
        comment += (byte >= 0x20 && byte < 0x7F && c != '\\') ? c : '?';
    }
    auto detail = std::make_unique<DcmDataset>();
    detail->putAndInsertString(DCM_ErrorComment, comment.c_str());
    return detail;
}

}  // namespace vantorel::print_service
