#include "direct_composition/dicom/density_grey.h"
#include "direct_composition/dicom/dicom_film_image.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantorel::direct_composition {
namespace {

// An image sequence item as a modality sends it in an image box N-SET.
struct ItemFields {
    int columns = 0;
    int rows = 0;
    int bitsAllocated = 8;
    int bitsStored = 8;
    std::string photometric = "MONOCHROME2";
    int samples = 1;
};

std::unique_ptr<DcmItem> makeItem(const ItemFields& fields, const std::vector<Uint16>& values)
{
    auto item = std::make_unique<DcmItem>();
    item->putAndInsertUint16(DCM_SamplesPerPixel, static_cast<Uint16>(fields.samples));
    item->putAndInsertString(DCM_PhotometricInterpretation, fields.photometric.c_str());
    item->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(fields.rows));
    item->putAndInsertUint16(DCM_Columns, static_cast<Uint16>(fields.columns));
    item->putAndInsertUint16(DCM_BitsAllocated, static_cast<Uint16>(fields.bitsAllocated));
    item->putAndInsertUint16(DCM_BitsStored, static_cast<Uint16>(fields.bitsStored));
    item->putAndInsertUint16(DCM_HighBit, static_cast<Uint16>(fields.bitsStored - 1));
    item->putAndInsertUint16(DCM_PixelRepresentation, 0);
    if (fields.samples == 3)
        item->putAndInsertUint16(DCM_PlanarConfiguration, 0);
    if (fields.bitsAllocated == 8) {
        std::vector<Uint8> bytes(values.begin(), values.end());
        item->putAndInsertUint8Array(DCM_PixelData, bytes.data(), bytes.size());
    } else {
        item->putAndInsertUint16Array(DCM_PixelData, values.data(), values.size());
    }
    return item;
}

TEST(DicomFilmImage, RendersGreyDepthsPolaritiesAndRgb)
{
    struct Case {
        const char* what;
        ItemFields fields;
        std::vector<Uint16> values;
        Picture::Format format;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {"8-bit MONOCHROME2", {2, 1, 8, 8}, {0, 255}, Picture::Format::Gray8, {0, 255}},
        {"12-bit over its full range",
         {3, 1, 16, 12},
         {0, 2048, 4095},
         Picture::Format::Gray8,
         {0, 128, 255}},
        {"16-bit", {2, 1, 16, 16}, {0, 65535}, Picture::Format::Gray8, {0, 255}},
        {"MONOCHROME1 inverts", {2, 1, 8, 8, "MONOCHROME1"}, {0, 255}, Picture::Format::Gray8, {255, 0}},
        {"RGB",
         {2, 1, 8, 8, "RGB", 3},
         {255, 0, 0, 0, 0, 255},
         Picture::Format::Rgb24,
         {255, 0, 0, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        const auto item = makeItem(c.fields, c.values);
        const auto made = DicomFilmImage::fromItem(*item);
        ASSERT_TRUE(made) << c.what << ": " << made.reason();
        const auto& image = *made;
        EXPECT_EQ(image->pixelWidth(), c.fields.columns) << c.what;
        EXPECT_EQ(image->pixelHeight(), c.fields.rows) << c.what;
        const Picture picture = image->picture();
        ASSERT_FALSE(picture.isNull()) << c.what;
        EXPECT_EQ(picture.format, c.format) << c.what;
        const std::vector<std::uint8_t> pixels(picture.pixels->begin(), picture.pixels->end());
        ASSERT_EQ(pixels.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < pixels.size(); ++i)
            EXPECT_NEAR(pixels[i], c.expected[i], 1) << c.what << " sample " << i;
    }
}

// Rows (or columns) of the padded picture that are black bands, counted from
// each side; the source is all mid-grey.
struct Bands {
    int before = 0;
    int after = 0;
};

Bands bandsOf(const Picture& picture, bool vertical)
{
    const auto& p = *picture.pixels;
    auto lineIsBlack = [&](int line) {
        const int n = vertical ? picture.width : picture.height;
        for (int i = 0; i < n; ++i) {
            const int at = vertical ? line * picture.width + i : i * picture.width + line;
            if (p[at] != 0)
                return false;
        }
        return true;
    };
    const int lines = vertical ? picture.height : picture.width;
    Bands bands;
    while (bands.before < lines && lineIsBlack(bands.before))
        ++bands.before;
    while (bands.after < lines && lineIsBlack(lines - 1 - bands.after))
        ++bands.after;
    return bands;
}

TEST(DicomFilmImage, RsizePadsToASquareWithTheSourceCentred)
{
    struct Case {
        int columns;
        int rows;
        int side;
        bool vertical;
        Bands bands;
    };
    const Case cases[] = {
        {512, 400, 512, true, {56, 56}},
        {400, 512, 512, false, {56, 56}},
        {512, 401, 512, true, {56, 55}},  // -55.5 rounds to -56
        {512, 403, 512, true, {54, 55}},  // -54.5 rounds to -54
    };
    for (const auto& c : cases) {
        const auto item = makeItem({c.columns, c.rows, 8, 8}, std::vector<Uint16>(c.columns * c.rows, 200));
        const auto made = DicomFilmImage::fromItem(*item);
        ASSERT_TRUE(made) << made.reason();
        const auto& image = *made;
        const auto squared = image->Rsize();
        ASSERT_TRUE(squared) << c.columns << "x" << c.rows;
        EXPECT_EQ(squared->pixelWidth(), c.side);
        EXPECT_EQ(squared->pixelHeight(), c.side);
        const Picture picture = squared->picture();
        ASSERT_FALSE(picture.isNull());
        const Bands bands = bandsOf(picture, c.vertical);
        EXPECT_EQ(bands.before, c.bands.before) << c.columns << "x" << c.rows;
        EXPECT_EQ(bands.after, c.bands.after) << c.columns << "x" << c.rows;
        EXPECT_EQ((*picture.pixels)[(c.side / 2) * c.side + c.side / 2], 200);
    }
}

TEST(DicomFilmImage, RsizeKeepsTheWindowOfTheSource)
{
    ItemFields fields{4, 2, 16, 12};
    auto item = makeItem(fields, std::vector<Uint16>(8, 1000));
    item->putAndInsertString(DCM_WindowCenter, "1000");
    item->putAndInsertString(DCM_WindowWidth, "400");
    const auto made = DicomFilmImage::fromItem(*item);
    ASSERT_TRUE(made) << made.reason();
    const auto& image = *made;
    const auto source = image->picture();
    const auto squared = image->Rsize();
    ASSERT_TRUE(squared);
    const auto padded = squared->picture();
    ASSERT_FALSE(source.isNull());
    ASSERT_FALSE(padded.isNull());
    // Full-range mapping would give 62; the window puts 1000 at mid-grey.
    EXPECT_NEAR((*source.pixels)[0], 128, 1);
    EXPECT_EQ((*padded.pixels)[1 * 4 + 1], (*source.pixels)[0]);
}

// The same picture sent as MONOCHROME2 and as MONOCHROME1 (stored values
// inverted) pads to the same square: black bands in both, not white ones in
// the second.
TEST(DicomFilmImage, RsizeBandsAreBlackWhateverThePhotometricInterpretation)
{
    struct Case {
        const char* what;
        ItemFields fields;
        Uint16 maxValue;
    };
    const Case cases[] = {
        {"8-bit", {6, 4, 8, 8}, 255},
        {"12-bit", {6, 4, 16, 12}, 4095},
    };
    for (const auto& c : cases) {
        std::vector<Uint16> mono2, mono1;
        for (int i = 0; i < 24; ++i) {
            mono2.push_back(static_cast<Uint16>(c.maxValue * (i % 6) / 5));
            mono1.push_back(static_cast<Uint16>(c.maxValue - mono2.back()));
        }
        ItemFields inverted = c.fields;
        inverted.photometric = "MONOCHROME1";
        const auto item2 = makeItem(c.fields, mono2);
        const auto item1 = makeItem(inverted, mono1);
        const auto image2 = DicomFilmImage::fromItem(*item2);
        const auto image1 = DicomFilmImage::fromItem(*item1);
        ASSERT_TRUE(image2 && image1) << c.what;
        const auto square2 = (*image2)->Rsize();
        const auto square1 = (*image1)->Rsize();
        ASSERT_TRUE(square2 && square1) << c.what;
        const Picture p2 = square2->picture(), p1 = square1->picture();
        ASSERT_EQ(p1.width, 6) << c.what;
        ASSERT_EQ(p1.height, 6) << c.what;
        ASSERT_EQ(p1.pixels->size(), p2.pixels->size()) << c.what;
        for (std::size_t i = 0; i < p1.pixels->size(); ++i)  // the toolkit's inversion rounds
            EXPECT_NEAR((*p1.pixels)[i], (*p2.pixels)[i], 1) << c.what << " pixel " << i;
        const Bands bands = bandsOf(p1, true);
        EXPECT_EQ(bands.before, 1) << c.what;
        EXPECT_EQ(bands.after, 1) << c.what;
    }
}

TEST(DicomFilmImage, ItemWithoutPixelsIsRefusedWithAReason)
{
    DcmItem item;
    item.putAndInsertUint16(DCM_Rows, 10);
    const auto made = DicomFilmImage::fromItem(item);
    EXPECT_FALSE(made);
    EXPECT_FALSE(made.reason().empty());
}

std::vector<std::uint8_t> pixelsOf(const DicomFilmImage& image)
{
    const Picture picture = image.picture();
    if (picture.isNull())
        return {};
    return {picture.pixels->begin(), picture.pixels->end()};
}

ImagePresentation withTable(std::vector<std::uint16_t> descriptor, std::vector<std::uint16_t> data)
{
    ImagePresentation presentation;
    presentation.lutShape = ImagePresentation::LutShape::Table;
    presentation.lutDescriptor = std::move(descriptor);
    presentation.lutData = std::move(data);
    return presentation;
}

// Each request against the same picture rendered plainly: what it does to the
// pixels, and what it says it ignored.
TEST(DicomFilmImage, PresentsThePictureAsThePrintJobAsks)
{
    std::vector<std::uint16_t> inverse, identity;
    for (std::uint16_t i = 0; i < 256; ++i) {
        inverse.push_back(static_cast<std::uint16_t>(255 - i));
        identity.push_back(i);
    }
    ImagePresentation reverse;
    reverse.reverse = true;
    ImagePresentation identityShape;
    identityShape.lutShape = ImagePresentation::LutShape::Identity;
    ImagePresentation linOd;
    linOd.lutShape = ImagePresentation::LutShape::LinOd;
    ImagePresentation reverseInverse = withTable({256, 0, 8}, inverse);
    reverseInverse.reverse = true;
    // Same as the plain picture, its exact inverse (or within the toolkit's
    // rounding for a table), or a curve that keeps black black and white white.
    enum class Expect { Same, Inverse, Curve };
    struct Case {
        const char* what;
        const char* photometric;
        ImagePresentation presentation;
        Expect expect;
        const char* ignored;  // empty: nothing
    };
    const Case cases[] = {
        {"REVERSE, MONOCHROME2", "MONOCHROME2", reverse, Expect::Inverse, ""},
        {"REVERSE, MONOCHROME1", "MONOCHROME1", reverse, Expect::Inverse, ""},
        {"IDENTITY", "MONOCHROME2", identityShape, Expect::Same, ""},
        {"IDENTITY, MONOCHROME1", "MONOCHROME1", identityShape, Expect::Same, ""},
        {"inverting table", "MONOCHROME2", withTable({256, 0, 8}, inverse), Expect::Inverse, ""},
        {"inverting table, MONOCHROME1", "MONOCHROME1", withTable({256, 0, 8}, inverse), Expect::Inverse, ""},
        // Polarity comes first, then the table: inverted twice.
        {"REVERSE and an inverting table", "MONOCHROME2", reverseInverse, Expect::Same, ""},
        {"identity table", "MONOCHROME2", withTable({256, 0, 8}, identity), Expect::Same, ""},
        {"table shorter than announced", "MONOCHROME2",
         withTable({256, 0, 8}, std::vector<std::uint16_t>(100, 7)), Expect::Same,
         "Presentation LUT Sequence (malformed LUT)"},
        {"entry beyond its bits", "MONOCHROME2", withTable({256, 0, 8}, std::vector<std::uint16_t>(256, 300)),
         Expect::Same, "Presentation LUT Sequence (malformed LUT)"},
        {"descriptor of two values", "MONOCHROME2", withTable({256, 0}, identity), Expect::Same,
         "Presentation LUT Sequence (malformed LUT)"},
        {"LIN OD", "MONOCHROME2", linOd, Expect::Curve, ""},
        {"LIN OD, MONOCHROME1", "MONOCHROME1", linOd, Expect::Curve, ""},
    };
    std::vector<Uint16> mono2;
    for (int i = 0; i < 256; ++i)
        mono2.push_back(static_cast<Uint16>(i));
    for (const auto& c : cases) {
        const bool one = std::string(c.photometric) == "MONOCHROME1";
        std::vector<Uint16> values = mono2;
        if (one)
            for (auto& v : values)
                v = static_cast<Uint16>(255 - v);
        const auto item = makeItem({16, 16, 8, 8, c.photometric}, values);
        const auto plain = DicomFilmImage::fromItem(*item);
        std::vector<std::string> ignored;
        const auto presented = DicomFilmImage::fromItem(*item, c.presentation, ignored);
        ASSERT_TRUE(plain && presented) << c.what;
        const auto before = pixelsOf(**plain), after = pixelsOf(**presented);
        ASSERT_EQ(after.size(), 256u) << c.what;
        int same = 0, inverted = 0, nearlyInverted = 0;
        for (std::size_t i = 0; i < after.size(); ++i) {
            same += after[i] == before[i];
            inverted += after[i] == 255 - before[i];
            nearlyInverted += std::abs(after[i] - (255 - before[i])) <= 1;
        }
        const bool table = c.presentation.lutShape == ImagePresentation::LutShape::Table;
        if (c.expect == Expect::Same)
            EXPECT_EQ(same, 256) << c.what;
        else if (c.expect == Expect::Inverse && !table)
            EXPECT_EQ(inverted, 256) << c.what;  // exact, not the toolkit's rounding
        else if (c.expect == Expect::Inverse)    // the toolkit's MONOCHROME1 rounds
            EXPECT_EQ(nearlyInverted, 256) << c.what;
        else {
            EXPECT_LT(same, 200) << c.what;
            EXPECT_LT(after.front(), 10) << c.what;  // stored 0 of MONOCHROME2 is black
            EXPECT_GT(after[255], 245) << c.what;
            EXPECT_TRUE(std::is_sorted(after.begin(), after.begin() + 16)) << c.what;  // the first row
        }
        EXPECT_EQ(ignored.empty() ? "" : ignored.front(), std::string(c.ignored)) << c.what;
    }
}

TEST(DicomFilmImage, PixelAspectRatioGivesThePictureItsTrueShape)
{
    struct Case {
        const char* aspect;
        int columns, rows;  // of the picture
        const char* ignored;
    };
    const Case cases[] = {
        {"2\\1", 40, 80, ""},  // pixels twice as tall as wide
        {"1\\2", 80, 40, ""},
        {"3\\3", 40, 40, ""},
        {"2", 40, 40, "Pixel Aspect Ratio \"2\""},
        {"0\\1", 40, 40, "Pixel Aspect Ratio \"0\\1\""},
        {"a\\b", 40, 40, "Pixel Aspect Ratio \"a\\b\""},
    };
    for (const auto& c : cases) {
        std::vector<Uint16> values;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                values.push_back(static_cast<Uint16>(y < 20 ? 50 : 200));
        auto item = makeItem({40, 40, 8, 8}, values);
        item->putAndInsertString(DCM_PixelAspectRatio, c.aspect);
        std::vector<std::string> ignored;
        const auto made = DicomFilmImage::fromItem(*item, ImagePresentation{}, ignored);
        ASSERT_TRUE(made) << c.aspect << ": " << made.reason();
        const auto& image = *made;
        const Picture picture = image->picture();
        EXPECT_EQ(picture.width, c.columns) << c.aspect;
        EXPECT_EQ(picture.height, c.rows) << c.aspect;
        EXPECT_EQ(image->pixelWidth(), c.columns) << c.aspect;
        EXPECT_EQ(image->pixelHeight(), c.rows) << c.aspect;
        EXPECT_EQ(ignored.empty() ? "" : ignored.front(), std::string(c.ignored)) << c.aspect;
        // The upper half stays dark and the lower half bright, stretched or not.
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ((*picture.pixels)[picture.width / 2], 50) << c.aspect;
        EXPECT_EQ(picture.pixels->back(), 200) << c.aspect;
    }
}

// The stretched copy keeps what the source was: MONOCHROME1 stays inverted.
TEST(DicomFilmImage, StretchedMonochromeOneRendersAsMonochromeTwo)
{
    std::vector<Uint16> mono2, mono1;
    for (int i = 0; i < 64; ++i) {
        mono2.push_back(static_cast<Uint16>(i * 4));
        mono1.push_back(static_cast<Uint16>(255 - i * 4));
    }
    auto item2 = makeItem({8, 8, 8, 8, "MONOCHROME2"}, mono2);
    auto item1 = makeItem({8, 8, 8, 8, "MONOCHROME1"}, mono1);
    std::vector<std::string> ignored;
    for (DcmItem* item : {item2.get(), item1.get()})
        item->putAndInsertString(DCM_PixelAspectRatio, "1\\2");
    const auto image2 = DicomFilmImage::fromItem(*item2, ImagePresentation{}, ignored);
    const auto image1 = DicomFilmImage::fromItem(*item1, ImagePresentation{}, ignored);
    ASSERT_TRUE(image2 && image1);
    const auto p2 = pixelsOf(**image2), p1 = pixelsOf(**image1);
    ASSERT_EQ(p2.size(), 128u);
    ASSERT_EQ(p1.size(), 128u);
    for (std::size_t i = 0; i < p2.size(); ++i)
        EXPECT_NEAR(p1[i], p2[i], 1) << "pixel " << i;
    EXPECT_TRUE(ignored.empty());
}

TEST(DicomFilmImage, TrueAspectSizeStretchesTheShortSideWithinABound)
{
    struct Case {
        long columns, rows, vertical, horizontal;
        long long most;
        PixelSize size;
    };
    const Case cases[] = {
        {100, 100, 2, 1, 1 << 20, {100, 200}},    {100, 100, 1, 2, 1 << 20, {200, 100}},
        {100, 100, 5, 5, 1 << 20, {100, 100}},    {100, 30, 4, 3, 1 << 20, {100, 40}},
        {1000, 1000, 4, 1, 2000000, {250, 1000}},  // stretching would pass the bound: shrink
        {100, 100, 0, 1, 1 << 20, {100, 100}},
    };
    for (const auto& c : cases) {
        const PixelSize size = trueAspectSize(c.columns, c.rows, c.vertical, c.horizontal, c.most);
        EXPECT_EQ(size.columns, c.size.columns)
            << c.columns << "x" << c.rows << " " << c.vertical << "\\" << c.horizontal;
        EXPECT_EQ(size.rows, c.size.rows)
            << c.columns << "x" << c.rows << " " << c.vertical << "\\" << c.horizontal;
    }
}

TEST(DicomFilmImage, WindowOfTheItemSurvivesTheAspectStretch)
{
    auto item = makeItem({4, 2, 16, 12}, std::vector<Uint16>(8, 1000));
    item->putAndInsertString(DCM_WindowCenter, "1000");
    item->putAndInsertString(DCM_WindowWidth, "400");
    item->putAndInsertString(DCM_PixelAspectRatio, "2\\1");
    std::vector<std::string> ignored;
    const auto made = DicomFilmImage::fromItem(*item, ImagePresentation{}, ignored);
    ASSERT_TRUE(made) << made.reason();
    const auto& image = *made;
    const Picture picture = image->picture();
    ASSERT_EQ(picture.height, 4);
    EXPECT_NEAR((*picture.pixels)[0], 128, 1);
}

}  // namespace
}  // namespace vantorel::direct_composition

namespace vantorel::direct_composition {
namespace {

// The printer's density scale: 0.20 OD is white, 3.00 OD black, greys between
// darker as the density rises, densities beyond the scale at its ends.
TEST(DensityGrey, TheScaleRunsFromWhiteAtMinToBlackAtMax)
{
    EXPECT_EQ(greyOfDensity(20), 255);
    EXPECT_EQ(greyOfDensity(300), 0);
    EXPECT_EQ(greyOfDensity(0), 255);
    EXPECT_EQ(greyOfDensity(400), 0);
    int previous = 256;
    for (unsigned density = 20; density <= 300; density += 20) {
        const int grey = greyOfDensity(density);
        EXPECT_LT(grey, previous) << density;
        previous = grey;
    }
    const int middle = greyOfDensity(150);
    EXPECT_GT(middle, 20);
    EXPECT_LT(middle, 235);
}

// Min and Max Density without a LUT: black prints the grey of Max Density,
// white the grey of Min Density, and greys between them in order; the whole
// scale (0.20 to 3.00 OD) changes nothing.
TEST(DicomFilmImage, DensityRangeNarrowsThePrintedGreys)
{
    std::vector<Uint16> ramp;
    for (Uint16 v = 0; v < 256; ++v)
        ramp.push_back(v);
    const auto item = makeItem({16, 16}, ramp);
    std::vector<std::string> ignored;
    const auto plain = pixelsOf(**DicomFilmImage::fromItem(*item, ImagePresentation{}, ignored));
    ASSERT_EQ(plain.size(), 256u);

    ImagePresentation whole;
    whole.densityRange = true;
    EXPECT_EQ(pixelsOf(**DicomFilmImage::fromItem(*item, whole, ignored)), plain);

    ImagePresentation narrow = whole;
    narrow.minDensity = 100;
    narrow.maxDensity = 200;
    const auto narrowed = pixelsOf(**DicomFilmImage::fromItem(*item, narrow, ignored));
    ASSERT_EQ(narrowed.size(), plain.size());
    const int light = greyOfDensity(100), dark = greyOfDensity(200);
    const auto black = std::find(plain.begin(), plain.end(), 0) - plain.begin();
    const auto white = std::find(plain.begin(), plain.end(), 255) - plain.begin();
    EXPECT_EQ(narrowed[black], dark);
    EXPECT_EQ(narrowed[white], light);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_GE(narrowed[i], dark) << i;
        EXPECT_LE(narrowed[i], light) << i;
    }
    EXPECT_TRUE(ignored.empty());

    // With REVERSE the range still runs from Max (black) to Min (white).
    narrow.reverse = true;
    EXPECT_EQ(pixelsOf(**DicomFilmImage::fromItem(*item, narrow, ignored))[black], light);
}

}  // namespace
}  // namespace vantorel::direct_composition
