#pragma once

#include <optional>
#include <string>

class DcmItem;

namespace vantorel::print_service {

// The first text attribute of `item` (at any depth) holding a value longer
// than its VR allows (a Film Size ID of 20 MiB, say), as "(2010,0050) of
// 20971520 bytes, more than CS allows"; nothing when every value fits. Such
// a request is refused (0x0106) before anything is stored.
[[nodiscard]] std::optional<std::string> overlongAttribute(DcmItem& item);

}  // namespace vantorel::print_service
