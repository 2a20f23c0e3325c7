#include "print_job/film_box_appearance.h"

#include "direct_composition/dicom/density_grey.h"
#include "print_service/attribute_text.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <cstdlib>

namespace vantorel::print_job {

namespace dc = direct_composition;

namespace {

// Illumination and Reflected Ambient Light of the film box, else the film
// session, else their defaults (2000 and 10 cd/m²).
unsigned lightOf(DcmItem& filmBox, DcmItem* filmSession, const DcmTagKey& tag, unsigned fallback)
{
    for (DcmItem* level : {&filmBox, filmSession}) {
        Uint16 value = 0;
        if (level != nullptr && level->tagExists(tag) && level->findAndGetUint16(tag, value).good())
            return value;
    }
    return fallback;
}

// BLACK, WHITE or a whole number of hundredths of OD; none (and said) for
// anything else.
std::optional<std::uint8_t> densityGrey(const std::string& text, const char* name, unsigned illumination,
                                        unsigned ambient, std::vector<std::string>& ignored)
{
    if (text == "BLACK")
        return std::uint8_t{0};
    if (text == "WHITE")
        return std::uint8_t{255};
    char* end = nullptr;
    const long density = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end != nullptr && *end == '\0' && density >= 0 && density <= 65535)
        return dc::greyOfDensity(static_cast<unsigned>(density), illumination, ambient);
    ignored.push_back(std::string(name) + " \"" + text + "\"");
    return std::nullopt;
}

}  // namespace

FilmBoxAppearance filmBoxAppearanceOf(DcmItem& filmBox, DcmItem* filmSession,
                                      std::vector<std::string>& ignored)
{
    FilmBoxAppearance appearance;
    const unsigned illumination = lightOf(filmBox, filmSession, DCM_Illumination, 2000);
    const unsigned ambient = lightOf(filmBox, filmSession, DCM_ReflectedAmbientLight, 10);

    const std::string border = print_service::trimmedValueOf(filmBox, DCM_BorderDensity);
    if (!border.empty())
        if (const auto grey = densityGrey(border, "Border Density", illumination, ambient, ignored)) {
            appearance.film.baseGrey = *grey;
            appearance.film.baseGreySent = true;
        }
    const std::string empty = print_service::trimmedValueOf(filmBox, DCM_EmptyImageDensity);
    if (!empty.empty())
        appearance.film.emptyCellGrey =
            densityGrey(empty, "Empty Image Density", illumination, ambient, ignored);

    const std::string trim = print_service::trimmedValueOf(filmBox, DCM_Trim);
    if (trim == "YES")
        appearance.film.trim = true;
    else if (!trim.empty() && trim != "NO")
        ignored.push_back("Trim \"" + trim + "\"");

    const std::string magnification = print_service::trimmedValueOf(filmBox, DCM_MagnificationType);
    dc::Magnification m;
    if (dc::magnificationOf(magnification, m))
        appearance.magnification = m;
    else if (!magnification.empty())
        ignored.push_back("Magnification Type \"" + magnification + "\"");

    const std::string smoothing = print_service::trimmedValueOf(filmBox, DCM_SmoothingType);
    if (!smoothing.empty())
        ignored.push_back("Smoothing Type \"" + smoothing + "\" (not applied)");
    return appearance;
}

}  // namespace vantorel::print_job
