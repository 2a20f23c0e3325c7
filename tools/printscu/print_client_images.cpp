// The image box, action, delete and deliberately broken requests of the
// print client, and the end of the association.

#include "print_client.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dcmtrans.h>
#include <dcmtk/dcmnet/dimse.h>
#include <dcmtk/dcmnet/dul.h>
#include <dcmtk/ofstd/ofstd.h>

#include <sys/socket.h>
#include <sys/stat.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace vantorel::tools {

namespace {

void copy(DIC_UI& to, const std::string& from)
{
    OFStandard::strlcpy(to, from.c_str(), sizeof(DIC_UI));
}

struct SocketAccess : DcmTransportConnection {
    static DcmNativeSocketType of(DcmTransportConnection& connection)
    {
        auto accessor = &SocketAccess::getSocket;
        return (connection.*accessor)();
    }
};

// Cuts the connection once `limit` bytes of the data set are on their way.
struct CutBudget {
    long limit = 0;
    int socket = -1;
    bool cut = false;
    static void progress(void* context, unsigned long bytes)
    {
        auto* budget = static_cast<CutBudget*>(context);
        if (!budget->cut && static_cast<long>(bytes) >= budget->limit) {
            budget->cut = true;
            ::shutdown(budget->socket, SHUT_RDWR);
        }
    }
};

}  // namespace

bool PrintClient::setImageBox(const std::pair<std::string, std::string>& box, int cell)
{
    std::unique_ptr<DcmItem> image;
    if (!options_.imageFiles.empty()) {
        std::string error;
        const std::string& file = options_.imageFiles[(cell - 1) % options_.imageFiles.size()];
        image = imageFromFile(file, error);
        if (!image) {
            std::cout << "image: " << error << "\n";
            return false;
        }
    } else {
        image = syntheticImage(cell, options_.imageSize, options_.kind);
    }
    if (!options_.pixelAspect.empty())
        image->putAndInsertString(DCM_PixelAspectRatio, options_.pixelAspect.c_str());
    if (options_.claimRows > 0) {
        image->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(options_.claimRows));
        image->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(options_.claimColumns));
    }
    OFString photometric;
    image->findAndGetOFString(DCM_PhotometricInterpretation, photometric);
    const bool rgb = photometric == "RGB";

    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_SET_RQ;
    request.msg.NSetRQ.MessageID = ++messageId_;
    copy(request.msg.NSetRQ.RequestedSOPClassUID, box.first);
    copy(request.msg.NSetRQ.RequestedSOPInstanceUID, box.second);
    request.msg.NSetRQ.DataSetType = DIMSE_DATASET_PRESENT;
    DcmDataset data;
    data.putAndInsertUint16(DCM_ImageBoxPosition, static_cast<Uint16>(cell));
    if (!options_.polarity.empty())
        data.putAndInsertString(DCM_Polarity, options_.polarity.c_str());
    if (!options_.requestedSize.empty())
        data.putAndInsertString(DCM_RequestedImageSize, options_.requestedSize.c_str());
    if (!options_.boxMagnification.empty())
        data.putAndInsertString(DCM_MagnificationType, options_.boxMagnification.c_str());
    referencePresentationLut(data, "image-box");
    data.insertSequenceItem(rgb ? DCM_BasicColorImageSequence : DCM_BasicGrayscaleImageSequence,
                            image.release());
    if (options_.cutNSetAfterBytes >= 0)
        return sendCut(request, &data);
    return exchange(request, &data, "N-SET Image Box " + std::to_string(cell));
}

bool PrintClient::sendCut(T_DIMSE_Message& request, DcmDataset* data)
{
    DcmTransportConnection* connection = DUL_getTransportConnection(association_->DULassociation);
    CutBudget budget{options_.cutNSetAfterBytes, connection ? SocketAccess::of(*connection) : -1};
    DIMSE_sendMessageUsingMemoryData(association_, printContext_, &request, nullptr, data,
                                     &CutBudget::progress, &budget);
    cutDone_ = budget.cut;
    ended_ = true;
    if (!cutDone_)
        std::cout << "N-SET: the data set was shorter than " << options_.cutNSetAfterBytes << " bytes\n";
    return cutDone_;
}

bool PrintClient::action(const std::string& cls, const std::string& uid)
{
    if (!options_.pauseBeforeAction.empty()) {
        std::cout.flush();  // the one who is to go on reads what was made
        struct stat info;
        while (::stat(options_.pauseBeforeAction.c_str(), &info) != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const bool session = cls == "1.2.840.10008.5.1.1.1";
    return nAction(cls, uid, session ? "N-ACTION Film Session" : "N-ACTION Film Box");
}

bool PrintClient::nAction(const std::string& cls, const std::string& uid, const std::string& label)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_ACTION_RQ;
    request.msg.NActionRQ.MessageID = ++messageId_;
    copy(request.msg.NActionRQ.RequestedSOPClassUID, cls);
    copy(request.msg.NActionRQ.RequestedSOPInstanceUID, uid);
    request.msg.NActionRQ.ActionTypeID = 1;
    request.msg.NActionRQ.DataSetType = DIMSE_DATASET_NULL;
    return exchange(request, nullptr, label);
}

bool PrintClient::remove(const std::string& cls, const std::string& uid)
{
    const bool session = cls == "1.2.840.10008.5.1.1.1";
    return nDelete(cls, uid, session ? "N-DELETE Film Session" : "N-DELETE Film Box");
}

bool PrintClient::nDelete(const std::string& cls, const std::string& uid, const std::string& label)
{
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_DELETE_RQ;
    request.msg.NDeleteRQ.MessageID = ++messageId_;
    copy(request.msg.NDeleteRQ.RequestedSOPClassUID, cls);
    copy(request.msg.NDeleteRQ.RequestedSOPInstanceUID, uid);
    request.msg.NDeleteRQ.DataSetType = DIMSE_DATASET_NULL;
    return exchange(request, nullptr, label);
}

bool PrintClient::extraCommand(const std::string& session)
{
    T_DIMSE_Message request{};
    const std::string label = "command 0x" + [&] {
        char text[8];
        std::snprintf(text, sizeof(text), "%04X", options_.extraCommand & 0xFFFF);
        return std::string(text);
    }();
    switch (options_.extraCommand) {
    case 0x0100:
        request.CommandField = DIMSE_N_EVENT_REPORT_RQ;
        request.msg.NEventReportRQ.MessageID = ++messageId_;
        copy(request.msg.NEventReportRQ.AffectedSOPClassUID, "1.2.840.10008.5.1.1.1");
        copy(request.msg.NEventReportRQ.AffectedSOPInstanceUID, session);
        request.msg.NEventReportRQ.EventTypeID = 1;
        request.msg.NEventReportRQ.DataSetType = DIMSE_DATASET_NULL;
        break;
    case 0x0020:
        request.CommandField = DIMSE_C_FIND_RQ;
        request.msg.CFindRQ.MessageID = ++messageId_;
        copy(request.msg.CFindRQ.AffectedSOPClassUID, "1.2.840.10008.5.1.1.1");
        request.msg.CFindRQ.DataSetType = DIMSE_DATASET_PRESENT;
        break;
    default:
        std::cout << label << ": only 0x0100 (N-EVENT-REPORT) and 0x0020 (C-FIND) can be sent\n";
        return false;
    }
    DcmDataset query;
    query.putAndInsertString(DCM_PatientName, "*");
    return exchange(request, request.CommandField == DIMSE_C_FIND_RQ ? &query : nullptr, label);
}

void PrintClient::end()
{
    if (association_ == nullptr || closed_)
        return;
    if (!cutDone_) {
        if (options_.abortAtEnd) {
            ASC_abortAssociation(association_);
            std::cout << "association aborted\n";
        } else if (ASC_releaseAssociation(association_).good()) {
            std::cout << "association released\n";
        }
    }
    ASC_dropAssociation(association_);
    closed_ = true;
}

}  // namespace vantorel::tools
