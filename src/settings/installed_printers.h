#pragma once

#include <string>
#include <vector>

namespace vantorel::settings {

// The printers installed on this machine, in the platform's order: a run-time
// list, not a setting. The composition root reads it once at start-up and
// hands it to what uses it: the settings loader and writers (Printer_9 names a
// position in it), the template road's route for films of other sizes, the
// print page and --show-settings.
using InstalledPrinters = std::vector<std::string>;

}  // namespace vantorel::settings
