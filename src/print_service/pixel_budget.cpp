#include "print_service/pixel_budget.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcstack.h>

#include <algorithm>

namespace vantorel::print_service {

namespace {

std::uint64_t pixelBytesIn(DcmObject& object)
{
    auto length = [](DcmObject& element) -> std::uint64_t {
        const Uint32 bytes = element.getLength();
        return bytes == DCM_UndefinedLength ? 0 : bytes;
    };
    if (object.getTag() == DCM_PixelData)
        return length(object);
    std::uint64_t total = 0;
    DcmStack stack;
    OFCondition cond = object.search(DCM_PixelData, stack, ESM_fromHere, OFTrue);
    while (cond.good()) {
        total += length(*stack.top());
        cond = object.search(DCM_PixelData, stack, ESM_afterStackTop, OFTrue);
    }
    return total;
}

}  // namespace

std::uint64_t PixelBudget::bytesIn(DcmItem& item)
{
    return pixelBytesIn(item);
}

bool PixelBudget::admits(DcmItem* current, DcmItem& incoming) const
{
    const std::uint64_t added = bytesIn(incoming);
    if (added == 0)
        return true;
    std::uint64_t replaced = 0;
    if (current != nullptr) {
        for (unsigned long i = 0; i < incoming.card(); ++i) {
            DcmElement* element = nullptr;
            if (current->findAndGetElement(incoming.getElement(i)->getTag(), element).good() &&
                element != nullptr)
                replaced += pixelBytesIn(*element);
        }
    }
    const std::uint64_t after = held_ - std::min(replaced, held_) + added;
    return after <= limit_;
}

void PixelBudget::holds(const std::string& uid, std::uint64_t bytes)
{
    removed(uid);
    if (bytes == 0)
        return;
    byObject_[uid] = bytes;
    held_ += bytes;
}

void PixelBudget::removed(const std::string& uid)
{
    auto found = byObject_.find(uid);
    if (found == byObject_.end())
        return;
    held_ -= found->second;
    byObject_.erase(found);
}

}  // namespace vantorel::print_service
