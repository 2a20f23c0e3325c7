// The Presentation LUT of the print client: created once per association,
// referenced from the level the options name.

#include "print_client.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmnet/dimse.h>
#include <dcmtk/ofstd/ofstd.h>

#include <iostream>
#include <vector>

namespace vantorel::tools {

namespace {

// One Presentation LUT Sequence item of 256 entries of 8 bits; "short" sends
// fewer entries than its descriptor announces.
DcmItem* lutTable(const std::string& kind)
{
    auto* item = new DcmItem;
    const Uint16 descriptor[3] = {256, 0, 8};
    std::vector<Uint16> data;
    for (int i = 0; i < (kind == "short" ? 100 : 256); ++i)
        data.push_back(static_cast<Uint16>(kind == "inverse" ? 255 - i : i));
    item->putAndInsertUint16Array(DCM_LUTDescriptor, descriptor, 3);
    item->putAndInsertUint16Array(DCM_LUTData, data.data(), static_cast<unsigned long>(data.size()));
    return item;
}

}  // namespace

bool PrintClient::createPresentationLut()
{
    if (lutContext_ == 0) {
        std::cout << "N-CREATE Presentation LUT: Presentation LUT not accepted\n";
        return false;
    }
    T_DIMSE_Message request{};
    request.CommandField = DIMSE_N_CREATE_RQ;
    request.msg.NCreateRQ.MessageID = ++messageId_;
    OFStandard::strlcpy(request.msg.NCreateRQ.AffectedSOPClassUID, presentationLutClass, sizeof(DIC_UI));
    request.msg.NCreateRQ.DataSetType = DIMSE_DATASET_PRESENT;
    DcmDataset data;
    const std::string& lut = options_.presentationLut;
    if (lut.rfind("table:", 0) == 0)
        data.insertSequenceItem(DCM_PresentationLUTSequence, lutTable(lut.substr(6)));
    else
        data.putAndInsertString(DCM_PresentationLUTShape, lut.c_str());
    DcmDataset* reply = nullptr;
    const bool ok = exchange(request, &data, "N-CREATE Presentation LUT", &reply);
    OFString uid;
    if (reply != nullptr)
        reply->findAndGetOFString(DCM_SOPInstanceUID, uid);
    delete reply;
    presentationLutUid_ = uid.c_str();
    std::cout << "presentation lut: " << presentationLutUid_ << "\n";
    return ok && !presentationLutUid_.empty();
}

void PrintClient::referencePresentationLut(DcmDataset& data, const char* level) const
{
    if (presentationLutUid_.empty() || options_.lutAt != level)
        return;
    auto* reference = new DcmItem;
    reference->putAndInsertString(DCM_ReferencedSOPClassUID, presentationLutClass);
    reference->putAndInsertString(DCM_ReferencedSOPInstanceUID, presentationLutUid_.c_str());
    data.insertSequenceItem(DCM_ReferencedPresentationLUTSequence, reference);
}

}  // namespace vantorel::tools
