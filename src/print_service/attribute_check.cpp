#include "print_service/attribute_check.h"

#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcvr.h>

#include <cstdio>
#include <vector>

namespace vantorel::print_service {

namespace {

// The longest value of each text VR in bytes (DICOM PS3.5 6.2); 0 for VRs
// this check leaves alone. The limits of VRs that may hold other character
// sets count characters, so their values may take up to four bytes a
// character.
unsigned long longestValue(DcmEVR vr)
{
    constexpr unsigned long bytesPerCharacter = 4;
    switch (vr) {
    case EVR_AE:
    case EVR_CS:
    case EVR_DS:
    case EVR_TM:
        return 16;
    case EVR_AS:
        return 4;
    case EVR_DA:
        return 8;
    case EVR_IS:
        return 12;
    case EVR_DT:
        return 26;
    case EVR_UI:
        return 64;
    case EVR_SH:
        return 16 * bytesPerCharacter;
    case EVR_LO:
        return 64 * bytesPerCharacter;
    case EVR_PN:
        return (64 * 3 + 2) * bytesPerCharacter;  // three component groups
    case EVR_ST:
        return 1024 * bytesPerCharacter;
    case EVR_LT:
        return 10240 * bytesPerCharacter;
    default:
        return 0;
    }
}

std::string tagText(const DcmTagKey& tag)
{
    char text[16];
    std::snprintf(text, sizeof text, "(%04X,%04X)", tag.getGroup(), tag.getElement());
    return text;
}

}  // namespace

std::optional<std::string> overlongAttribute(DcmItem& item)
{
    std::vector<DcmItem*> items{&item};
    while (!items.empty()) {
        DcmItem* current = items.back();
        items.pop_back();
        for (unsigned long i = 0; i < current->card(); ++i) {
            DcmElement* element = current->getElement(i);
            if (element == nullptr)
                continue;
            if (auto* sequence = dynamic_cast<DcmSequenceOfItems*>(element)) {
                for (unsigned long n = 0; n < sequence->card(); ++n)
                    items.push_back(sequence->getItem(n));
                continue;
            }
            const DcmEVR vr = element->getVR();
            const unsigned long longest = longestValue(vr);
            if (longest == 0)
                continue;
            const unsigned long count = element->getVM();
            for (unsigned long v = 0; v < count; ++v) {
                OFString value;
                if (element->getOFString(value, v).bad())
                    continue;
                if (value.length() > longest)
                    return tagText(element->getTag()) + " of " + std::to_string(value.length()) +
                        " bytes, more than " + DcmVR(vr).getVRName() + " allows";
            }
        }
    }
    return std::nullopt;
}

}  // namespace vantorel::print_service
