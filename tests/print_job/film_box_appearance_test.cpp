#include "print_job/film_box_appearance.h"

#include "direct_composition/dicom/density_grey.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantorel::print_job {
namespace {

namespace dc = direct_composition;

TEST(FilmBoxAppearance, WhatTheFilmBoxAsksAndWhatCannotBeApplied)
{
    struct Case {
        const char* what;
        DcmTagKey tag;
        const char* value;
        int baseGrey;
        int emptyGrey;  // -1: none
        bool trim;
        std::optional<dc::Magnification> magnification;
        const char* ignored;  // empty: nothing
    };
    const int grey150 = dc::greyOfDensity(150);
    const Case cases[] = {
        {"border BLACK", DCM_BorderDensity, "BLACK", 0, -1, false, std::nullopt, ""},
        {"border WHITE", DCM_BorderDensity, "WHITE", 255, -1, false, std::nullopt, ""},
        {"border 1.50 OD", DCM_BorderDensity, "150", grey150, -1, false, std::nullopt, ""},
        {"border unknown", DCM_BorderDensity, "GREY", 0, -1, false, std::nullopt, "Border Density \"GREY\""},
        {"border negative", DCM_BorderDensity, "-5", 0, -1, false, std::nullopt, "Border Density \"-5\""},
        {"empty WHITE", DCM_EmptyImageDensity, "WHITE", 0, 255, false, std::nullopt, ""},
        {"empty BLACK", DCM_EmptyImageDensity, "BLACK", 0, 0, false, std::nullopt, ""},
        {"empty 1.50 OD", DCM_EmptyImageDensity, "150", 0, grey150, false, std::nullopt, ""},
        {"empty unknown", DCM_EmptyImageDensity, "PINK", 0, -1, false, std::nullopt,
         "Empty Image Density \"PINK\""},
        {"trim YES", DCM_Trim, "YES", 0, -1, true, std::nullopt, ""},
        {"trim NO", DCM_Trim, "NO", 0, -1, false, std::nullopt, ""},
        {"trim unknown", DCM_Trim, "MAYBE", 0, -1, false, std::nullopt, "Trim \"MAYBE\""},
        {"REPLICATE", DCM_MagnificationType, "REPLICATE", 0, -1, false, dc::Magnification::Replicate, ""},
        {"NONE", DCM_MagnificationType, "NONE", 0, -1, false, dc::Magnification::None, ""},
        {"magnification unknown", DCM_MagnificationType, "ZOOM", 0, -1, false, std::nullopt,
         "Magnification Type \"ZOOM\""},
        {"smoothing", DCM_SmoothingType, "SOFT", 0, -1, false, std::nullopt,
         "Smoothing Type \"SOFT\" (not applied)"},
    };
    for (const auto& c : cases) {
        DcmItem filmBox;
        filmBox.putAndInsertString(c.tag, c.value);
        std::vector<std::string> ignored;
        const FilmBoxAppearance a = filmBoxAppearanceOf(filmBox, nullptr, ignored);
        EXPECT_EQ(a.film.baseGrey, c.baseGrey) << c.what;
        EXPECT_EQ(a.film.emptyCellGrey ? int(*a.film.emptyCellGrey) : -1, c.emptyGrey) << c.what;
        EXPECT_EQ(a.film.trim, c.trim) << c.what;
        EXPECT_EQ(a.magnification, c.magnification) << c.what;
        EXPECT_EQ(ignored.empty() ? "" : ignored.front(), std::string(c.ignored)) << c.what;
    }
}

// A density is shown under the light of the film box, else of the film
// session: a dimmer light box shows the same density as a different grey.
TEST(FilmBoxAppearance, DensityGreysFollowTheLightOfTheFilmBoxOrSession)
{
    DcmItem filmBox, session;
    filmBox.putAndInsertString(DCM_BorderDensity, "150");
    session.putAndInsertUint16(DCM_Illumination, 100);
    session.putAndInsertUint16(DCM_ReflectedAmbientLight, 40);
    std::vector<std::string> ignored;
    EXPECT_EQ(filmBoxAppearanceOf(filmBox, &session, ignored).film.baseGrey, dc::greyOfDensity(150, 100, 40));
    EXPECT_NE(dc::greyOfDensity(150, 100, 40), dc::greyOfDensity(150));
    filmBox.putAndInsertUint16(DCM_Illumination, 2000);
    filmBox.putAndInsertUint16(DCM_ReflectedAmbientLight, 10);
    EXPECT_EQ(filmBoxAppearanceOf(filmBox, &session, ignored).film.baseGrey, dc::greyOfDensity(150));
    EXPECT_TRUE(ignored.empty());
}

}  // namespace
}  // namespace vantorel::print_job
