#pragma once

#include <string>

namespace vantorel::print_service {

class PrintObjectStore;

// Builds the Printer object under "1.2.840.10008.5.1.1.17" in the store:
// Manufacturer `aeTitle` (trimmed), Printer Status "NORMAL", Printer Status Info
// "NORMAL" when `fujiCr` and empty otherwise, Software Versions `softwareVersions`.
void MakePrinterdataset(PrintObjectStore& store, const std::string& aeTitle, bool fujiCr,
                        const std::string& softwareVersions);

// Printer Status (2110,0010) and Printer Status Info (2110,0020) of the
// Printer object; nothing happens when it is not in the store.
struct PrinterState {
    std::string status;
    std::string info;
};
PrinterState printerState(const PrintObjectStore& store);
void setPrinterState(PrintObjectStore& store, const PrinterState& state);

// What the Printer object says while films do not reach their printer.
inline const PrinterState printerFailureState{"FAILURE", "CHECK PRINTER"};
// What it says while printed films cannot be saved (the export folder is
// missing, read-only or full).
inline const PrinterState filmSavingFailureState{"WARNING", "FILM SAVING FAILED"};

// The DICOM toolkit's version text, for Software Versions.
std::string toolkitVersionText();

}  // namespace vantorel::print_service
