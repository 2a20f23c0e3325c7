#include "print_job/image_box_presentation.h"

#include "print_service/print_object_store.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcvrobow.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vantorel::print_job {
namespace {

namespace dc = direct_composition;
using Shape = dc::ImagePresentation::LutShape;

class PresentationFixture : public ::testing::Test {
protected:
    PresentationFixture()
    {
        addLut("lut.identity").putAndInsertString(DCM_PresentationLUTShape, "IDENTITY");
        addLut("lut.linod").putAndInsertString(DCM_PresentationLUTShape, "LIN OD");
        addLut("lut.odd").putAndInsertString(DCM_PresentationLUTShape, "SIGMOID");
        // A table as it arrives on an explicit VR association: LUT Data as OW.
        auto* table = new DcmItem;
        const Uint16 descriptor[3] = {4, 0, 8};
        const Uint16 data[4] = {255, 170, 85, 0};
        table->putAndInsertUint16Array(DCM_LUTDescriptor, descriptor, 3);
        auto* words = new DcmOtherByteOtherWord(DcmTag(DCM_LUTData, EVR_OW));
        words->putUint16Array(data, 4);
        table->insert(words);
        addLut("lut.table").insertSequenceItem(DCM_PresentationLUTSequence, table);
    }

    DcmItem& addLut(const std::string& uid)
    {
        auto& lut = store.newDataSet();
        store.assignInstanceUid(lut, uid);
        return lut.attributes();
    }

    static void reference(DcmItem& level, const char* uid)
    {
        auto* item = new DcmItem;
        item->putAndInsertString(DCM_ReferencedSOPClassUID, "1.2.840.10008.5.1.1.23");
        item->putAndInsertString(DCM_ReferencedSOPInstanceUID, uid);
        level.insertSequenceItem(DCM_ReferencedPresentationLUTSequence, item);
    }

    dc::ImagePresentation resolve()
    {
        ignored.clear();
        return presentationOf({&imageBox, &filmBox, &session}, store, ignored);
    }

    print_service::PrintObjectStore store;
    DcmItem imageBox, filmBox, session;
    std::vector<std::string> ignored;
};

TEST_F(PresentationFixture, NothingAskedIsNothingApplied)
{
    const auto presentation = resolve();
    EXPECT_FALSE(presentation.reverse);
    EXPECT_EQ(presentation.lutShape, Shape::None);
    EXPECT_EQ(presentation.requestedWidthMm, 0);
    EXPECT_TRUE(ignored.empty());
    EXPECT_TRUE(presentationOf({}, store, ignored).lutShape == Shape::None);
}

// The Presentation LUT and the densities come from the nearest level that
// gives them: image box, then film box, then film session.
TEST_F(PresentationFixture, TheImageBoxOverTheFilmBoxOverTheFilmSession)
{
    reference(session, "lut.identity");
    EXPECT_EQ(resolve().lutShape, Shape::Identity);
    reference(filmBox, "lut.linod");
    EXPECT_EQ(resolve().lutShape, Shape::LinOd);
    reference(imageBox, "lut.table");
    auto presentation = resolve();
    EXPECT_EQ(presentation.lutShape, Shape::Table);
    EXPECT_EQ(presentation.lutDescriptor, (std::vector<std::uint16_t>{4, 0, 8}));
    EXPECT_EQ(presentation.lutData, (std::vector<std::uint16_t>{255, 170, 85, 0}));

    // LIN OD from the film box, densities from every level.
    imageBox.findAndDeleteElement(DCM_ReferencedPresentationLUTSequence);
    session.putAndInsertUint16(DCM_MinDensity, 10);
    session.putAndInsertUint16(DCM_MaxDensity, 250);
    filmBox.putAndInsertUint16(DCM_MaxDensity, 210);
    imageBox.putAndInsertUint16(DCM_MaxDensity, 180);
    filmBox.putAndInsertUint16(DCM_Illumination, 150);
    presentation = resolve();
    EXPECT_EQ(presentation.minDensity, 10u);
    EXPECT_EQ(presentation.maxDensity, 180u);
    EXPECT_EQ(presentation.illumination, 150u);
    EXPECT_EQ(presentation.reflectedAmbientLight, 10u);  // the default
    EXPECT_TRUE(ignored.empty());
}

TEST_F(PresentationFixture, ImageBoxAttributesAndWhatCannotBeApplied)
{
    struct Case {
        const char* what;
        DcmTagKey tag;
        const char* value;
        bool reverse;
        double widthMm;
        const char* ignored;  // empty: nothing
    };
    const Case cases[] = {
        {"REVERSE", DCM_Polarity, "REVERSE", true, 0, ""},
        {"NORMAL", DCM_Polarity, "NORMAL", false, 0, ""},
        {"unknown polarity", DCM_Polarity, "SIDEWAYS", false, 0, "Polarity \"SIDEWAYS\""},
        {"100 mm", DCM_RequestedImageSize, "100", false, 100, ""},
        {"fraction", DCM_RequestedImageSize, "85.5", false, 85.5, ""},
        {"not a number", DCM_RequestedImageSize, "big", false, 0, "Requested Image Size \"big\""},
        {"negative", DCM_RequestedImageSize, "-4", false, 0, "Requested Image Size \"-4\""},
    };
    for (const auto& c : cases) {
        DcmItem box;
        box.putAndInsertString(c.tag, c.value);
        ignored.clear();
        const auto presentation = presentationOf({&box, &filmBox, &session}, store, ignored);
        EXPECT_EQ(presentation.reverse, c.reverse) << c.what;
        EXPECT_EQ(presentation.requestedWidthMm, c.widthMm) << c.what;
        EXPECT_EQ(ignored.empty() ? "" : ignored.front(), std::string(c.ignored)) << c.what;
    }
}

TEST_F(PresentationFixture, UnusableLutsAndDensitiesAreIgnoredAndSaid)
{
    reference(filmBox, "lut.odd");
    EXPECT_EQ(resolve().lutShape, Shape::None);
    EXPECT_EQ(ignored, std::vector<std::string>{"Presentation LUT Shape \"SIGMOID\""});

    reference(imageBox, "no.such.lut");
    EXPECT_EQ(resolve().lutShape, Shape::None);
    EXPECT_EQ(ignored, std::vector<std::string>{"Referenced Presentation LUT \"no.such.lut\" (not held)"});

    imageBox.findAndDeleteElement(DCM_ReferencedPresentationLUTSequence);
    reference(imageBox, "lut.linod");
    filmBox.putAndInsertUint16(DCM_MinDensity, 300);
    filmBox.putAndInsertUint16(DCM_MaxDensity, 200);
    const auto presentation = resolve();
    EXPECT_EQ(presentation.lutShape, Shape::LinOd);
    EXPECT_EQ(presentation.minDensity, 20u);  // the defaults stay
    EXPECT_EQ(presentation.maxDensity, 300u);
    EXPECT_EQ(ignored, std::vector<std::string>{"Min Density 300 not below Max Density 200"});
}

// Min and Max Density apply at every level: with LIN OD they shape its curve,
// without a LUT (or with IDENTITY) they narrow the printed greys; an explicit
// table keeps the greys it gives.
TEST_F(PresentationFixture, DensitiesWithoutALutNarrowThePrintedGreys)
{
    struct Case {
        const char* what;
        const char* lut;  // referenced by the film box; empty: none
        bool min, max;    // given by the film session
        bool range;
        unsigned minDensity, maxDensity;
    };
    const Case cases[] = {
        {"nothing given", "", false, false, false, 20, 300},
        {"both, no LUT", "", true, true, true, 100, 200},
        {"Min only", "", true, false, true, 100, 300},
        {"Max only, IDENTITY", "lut.identity", false, true, true, 20, 200},
        {"both, LIN OD", "lut.linod", true, true, false, 100, 200},
        {"both, a table", "lut.table", true, true, false, 20, 300},
    };
    for (const auto& c : cases) {
        DcmItem box, film, filmSession;
        if (c.lut[0])
            reference(film, c.lut);
        if (c.min)
            filmSession.putAndInsertUint16(DCM_MinDensity, 100);
        if (c.max)
            filmSession.putAndInsertUint16(DCM_MaxDensity, 200);
        ignored.clear();
        const auto presentation = presentationOf({&box, &film, &filmSession}, store, ignored);
        EXPECT_EQ(presentation.densityRange, c.range) << c.what;
        EXPECT_EQ(presentation.minDensity, c.minDensity) << c.what;
        EXPECT_EQ(presentation.maxDensity, c.maxDensity) << c.what;
        EXPECT_TRUE(ignored.empty()) << c.what;
    }
    // Min not below Max: nothing narrowed, and said.
    filmBox.putAndInsertUint16(DCM_MinDensity, 250);
    filmBox.putAndInsertUint16(DCM_MaxDensity, 250);
    EXPECT_FALSE(resolve().densityRange);
    EXPECT_EQ(ignored, std::vector<std::string>{"Min Density 250 not below Max Density 250"});
}

TEST_F(PresentationFixture, MagnificationAndSmoothingOfTheImageBox)
{
    struct Case {
        const char* magnification;  // empty: not sent
        const char* smoothing;
        std::optional<dc::Magnification> expected;
        std::vector<std::string> ignored;
    };
    const Case cases[] = {
        {"", "", std::nullopt, {}},
        {"REPLICATE", "", dc::Magnification::Replicate, {}},
        {"CUBIC", "", dc::Magnification::Cubic, {}},
        {"NONE", "", dc::Magnification::None, {}},
        {"SHARPEN", "", std::nullopt, {"Magnification Type \"SHARPEN\""}},
        {"BILINEAR", "MEDIUM", dc::Magnification::Bilinear, {"Smoothing Type \"MEDIUM\" (not applied)"}},
    };
    // The film box's own is read with the film box, never here.
    filmBox.putAndInsertString(DCM_MagnificationType, "REPLICATE");
    for (const auto& c : cases) {
        DcmItem box;
        if (c.magnification[0])
            box.putAndInsertString(DCM_MagnificationType, c.magnification);
        if (c.smoothing[0])
            box.putAndInsertString(DCM_SmoothingType, c.smoothing);
        ignored.clear();
        const auto presentation = presentationOf({&box, &filmBox, &session}, store, ignored);
        EXPECT_EQ(presentation.magnification, c.expected) << c.magnification;
        EXPECT_EQ(ignored, c.ignored) << c.magnification;
    }
}

}  // namespace
}  // namespace vantorel::print_job
