#include "print_service/print_object.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>

namespace vantorel::print_service {

PrintObject::PrintObject() : attributes_(std::make_unique<DcmDataset>()) {}

PrintObject::~PrintObject() = default;

std::string PrintObject::sopClassUid() const
{
    OFString value;
    if (attributes_->findAndGetOFStringArray(DCM_SOPClassUID, value).bad())
        return {};
    return value.c_str();
}

}  // namespace vantorel::print_service
