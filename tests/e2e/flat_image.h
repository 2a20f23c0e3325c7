#pragma once

// Test images for films whose pages are sampled: flat grey DICOM files.

#include "program_runner.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <cstdlib>
#include <vector>

namespace vantorel::testing {

// A variable of the test environment, nullptr when unset or empty.
inline const char* environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// A flat 8-bit MONOCHROME2 image of one grey level, as a DICOM file.
inline QString writeFlatImage(const TempHome& home, int level)
{
    const QString path = home.path() + QString("/flat%1.dcm").arg(level);
    DcmFileFormat file;
    DcmDataset* data = file.getDataset();
    char uid[100];
    data->putAndInsertString(DCM_SOPClassUID, UID_SecondaryCaptureImageStorage);
    data->putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    data->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    data->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    data->putAndInsertUint16(DCM_Rows, 128);
    data->putAndInsertUint16(DCM_Columns, 128);
    data->putAndInsertUint16(DCM_BitsAllocated, 8);
    data->putAndInsertUint16(DCM_BitsStored, 8);
    data->putAndInsertUint16(DCM_HighBit, 7);
    data->putAndInsertUint16(DCM_PixelRepresentation, 0);
    const std::vector<Uint8> pixels(128 * 128, static_cast<Uint8>(level));
    data->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
    file.saveFile(path.toStdString().c_str(), EXS_LittleEndianExplicit);
    return path;
}

}  // namespace vantorel::testing
