#include "print_service/attribute_text.h"

#include "base/text.h"

#include <dcmtk/dcmdata/dcitem.h>

namespace vantorel::print_service {

std::string allValuesOf(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    if (item.findAndGetOFStringArray(tag, value).bad())
        return {};
    return value.c_str();
}

std::string valueWithoutTrailingSpaces(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    if (item.findAndGetOFString(tag, value).bad())
        return {};
    std::string text = value.c_str();
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string trimmedValueOf(DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    if (item.findAndGetOFString(tag, value).bad())
        return {};
    return base::trimSpaces(value.c_str());
}

}  // namespace vantorel::print_service
