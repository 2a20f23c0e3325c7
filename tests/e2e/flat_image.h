#pragma once

// Test images for films whose pages are sampled: flat grey DICOM files.

#include "image_files.h"
#include "program_runner.h"

#include <cstdlib>

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
    writeGreyImageFile(path, {128, 128}, [level](int, int) { return static_cast<Uint16>(level); });
    return path;
}

}  // namespace vantorel::testing
