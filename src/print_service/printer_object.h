#pragma once

#include <string>

namespace vantorel::print_service {

class PrintObjectStore;

// Builds the Printer object under "1.2.840.10008.5.1.1.17" in the store:
// Manufacturer `aeTitle` (trimmed), Printer Status "NORMAL", Printer Status Info
// "NORMAL" when `fujiCr` and empty otherwise, Software Versions `softwareVersions`.
void MakePrinterdataset(PrintObjectStore& store, const std::string& aeTitle, bool fujiCr,
                        const std::string& softwareVersions);

// The DICOM toolkit's version text, for Software Versions.
std::string toolkitVersionText();

}  // namespace vantorel::print_service
