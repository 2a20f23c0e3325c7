#include "print_service/printer_object.h"

#include "base/text.h"

#include "print_service/print_object_store.h"
#include "print_service/sop_uids.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcuid.h>

namespace vantorel::print_service {

void MakePrinterdataset(PrintObjectStore& store, const std::string& aeTitle, bool fujiCr,
                        const std::string& softwareVersions)
{
    PrintObject& printer = store.newDataSet();
    store.assignInstanceUid(printer, sop::printerInstance);
    DcmDataset& attributes = printer.attributes();
    const std::pair<DcmTagKey, std::string> values[] = {
        {DCM_SOPClassUID, sop::printer},
        {DCM_Manufacturer, base::trimBlanks(aeTitle)},
        {DCM_ManufacturerModelName, "Printer SCP"},
        {DCM_DeviceSerialNumber, "100001"},
        {DCM_SoftwareVersions, softwareVersions},
        {DCM_PrinterStatus, "NORMAL"},
        {DCM_PrinterStatusInfo, fujiCr ? "NORMAL" : ""},
    };
    for (const auto& [tag, value] : values)
        if (attributes.putAndInsertString(tag, value.c_str()).bad())
            return;  // the rest stays unbuilt, as the N-GET will show
}

PrinterState printerState(const PrintObjectStore& store)
{
    PrinterState state;
    const PrintObject* printer = store.Dataset(sop::printer, sop::printerInstance);
    if (printer == nullptr)
        return state;
    // DCMTK's lookups are not const; reading changes nothing.
    auto& attributes = const_cast<DcmDataset&>(printer->attributes());
    OFString value;
    if (attributes.findAndGetOFString(DCM_PrinterStatus, value).good())
        state.status = value.c_str();
    if (attributes.findAndGetOFString(DCM_PrinterStatusInfo, value).good())
        state.info = value.c_str();
    return state;
}

void setPrinterState(PrintObjectStore& store, const PrinterState& state)
{
    PrintObject* printer = store.Dataset(sop::printer, sop::printerInstance);
    if (printer == nullptr)
        return;
    printer->attributes().putAndInsertString(DCM_PrinterStatus, state.status.c_str());
    printer->attributes().putAndInsertString(DCM_PrinterStatusInfo, state.info.c_str());
}

std::string toolkitVersionText()
{
    return std::string("DCMTK ") + OFFIS_DCMTK_VERSION_STRING;
}

}  // namespace vantorel::print_service
