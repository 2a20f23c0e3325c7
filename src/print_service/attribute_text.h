#pragma once

#include <dcmtk/dcmdata/dctagkey.h>

#include <string>

class DcmItem;

namespace vantorel::print_service {

// An attribute's text as the print objects hold it; empty when the item does
// not have it. The three differ in what they keep of the value:

// Every value, backslash-separated, padding and all.
std::string allValuesOf(DcmItem& item, const DcmTagKey& tag);

// The first value without the spaces at its end (leading spaces kept).
std::string valueWithoutTrailingSpaces(DcmItem& item, const DcmTagKey& tag);

// The first value without spaces at either end.
std::string trimmedValueOf(DcmItem& item, const DcmTagKey& tag);

}  // namespace vantorel::print_service
