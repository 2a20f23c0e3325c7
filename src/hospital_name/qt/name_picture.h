#pragma once

#include "hospital_name/editor_ports.h"
#include "hospital_name/name_style.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <string>

namespace vantorel::hospital_name {

// Where the name goes on the picture, in twips from its top-left corner, and
// the picture's scale: 15 twips to a pixel (96 pixels to the inch), so that a
// point size draws as large as on the operator's screen.
inline constexpr double nameLeftTwips = 1400;
inline constexpr double nameTopTwips = 200;
inline constexpr double twipsPerPixel = 15;

// The preview's size when there is no base picture to take it from.
inline constexpr QSize plainPictureSize{600, 64};

// The base picture at `path` as an RGB picture, or plain white when the file
// is missing or cannot be read.
QImage loadBasePicture(const QString& path);

// `base` with `name` drawn on top: its top-left at the name position, in the
// style's font, point size, weight and colour (italic is not drawn).
QImage renderHospitalName(const QImage& base, const std::string& name, const NameStyle& style);

// Whether `name`, drawn as renderHospitalName draws it, stays inside `base`:
// its line's width and height from the name position. An empty name fits.
bool nameFitsPicture(const QImage& base, const std::string& name, const NameStyle& style);

// The preview picture held in memory; written as a Windows bitmap on save.
class NamePicture final : public PreviewPicture {
public:
    void reload(const std::string& path) override;
    void drawName(const std::string& name, const NameStyle& style) override;
    bool save(const std::string& path) override;

    const QImage& image() const { return image_; }

private:
    QImage image_ = loadBasePicture({});
};

}  // namespace vantorel::hospital_name
