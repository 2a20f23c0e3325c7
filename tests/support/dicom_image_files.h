#pragma once

// Grey images as DICOM files, for the modality simulator's --image option
// in the end-to-end tests and the benchmarks.

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcuid.h>

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace vantorel::testing {

struct GreyImage {
    int columns = 0;
    int rows = 0;
    int bits = 8;  // stored bits; more than 8 are held in 16-bit words
    std::string photometric = "MONOCHROME2";
};

// Writes `path`: one frame whose pixel (x, y) is value(x, y).
inline bool writeGreyImageFile(const QString& path, const GreyImage& image,
                               const std::function<Uint16(int, int)>& value)
{
    DcmFileFormat file;
    DcmDataset* data = file.getDataset();
    char uid[100];
    const bool words = image.bits > 8;
    data->putAndInsertString(DCM_SOPClassUID, UID_SecondaryCaptureImageStorage);
    data->putAndInsertString(DCM_SOPInstanceUID, dcmGenerateUniqueIdentifier(uid, SITE_INSTANCE_UID_ROOT));
    data->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    data->putAndInsertString(DCM_PhotometricInterpretation, image.photometric.c_str());
    data->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(image.rows));
    data->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(image.columns));
    data->putAndInsertUint16(DCM_BitsAllocated, words ? 16 : 8);
    data->putAndInsertUint16(DCM_BitsStored, static_cast<Uint16>(image.bits));
    data->putAndInsertUint16(DCM_HighBit, static_cast<Uint16>(image.bits - 1));
    data->putAndInsertUint16(DCM_PixelRepresentation, 0);
    const std::size_t count = static_cast<std::size_t>(image.columns) * image.rows;
    if (words) {
        std::vector<Uint16> pixels(count);
        for (int y = 0; y < image.rows; ++y)
            for (int x = 0; x < image.columns; ++x)
                pixels[static_cast<std::size_t>(y) * image.columns + x] = value(x, y);
        data->putAndInsertUint16Array(DCM_PixelData, pixels.data(), pixels.size());
    } else {
        std::vector<Uint8> pixels(count);
        for (int y = 0; y < image.rows; ++y)
            for (int x = 0; x < image.columns; ++x)
                pixels[static_cast<std::size_t>(y) * image.columns + x] = static_cast<Uint8>(value(x, y));
        data->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
    }
    return file.saveFile(path.toStdString().c_str(), EXS_LittleEndianExplicit).good();
}

// A flat 8-bit MONOCHROME2 image of one grey level, as a DICOM file in `folder`.
inline QString writeFlatImage(const QString& folder, int level)
{
    const QString path = folder + QString("/flat%1.dcm").arg(level);
    writeGreyImageFile(path, {128, 128}, [level](int, int) { return static_cast<Uint16>(level); });
    return path;
}

}  // namespace vantorel::testing
