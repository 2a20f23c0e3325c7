#include "direct_composition/dicom/dicom_film_image.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <gtest/gtest.h>

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
        {"12-bit over its full range", {3, 1, 16, 12}, {0, 2048, 4095}, Picture::Format::Gray8,
         {0, 128, 255}},
        {"16-bit", {2, 1, 16, 16}, {0, 65535}, Picture::Format::Gray8, {0, 255}},
        {"MONOCHROME1 inverts", {2, 1, 8, 8, "MONOCHROME1"}, {0, 255}, Picture::Format::Gray8,
         {255, 0}},
        {"RGB", {2, 1, 8, 8, "RGB", 3}, {255, 0, 0, 0, 0, 255}, Picture::Format::Rgb24,
         {255, 0, 0, 0, 0, 255}},
    };
    for (const auto& c : cases) {
        const auto item = makeItem(c.fields, c.values);
        std::string error;
        const auto image = DicomFilmImage::fromItem(*item, &error);
        ASSERT_TRUE(image) << c.what << ": " << error;
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
    struct Case { int columns; int rows; int side; bool vertical; Bands bands; };
    const Case cases[] = {
        {512, 400, 512, true, {56, 56}},
        {400, 512, 512, false, {56, 56}},
        {512, 401, 512, true, {56, 55}},  // -55.5 rounds to -56
        {512, 403, 512, true, {54, 55}},  // -54.5 rounds to -54
    };
    for (const auto& c : cases) {
        const auto item = makeItem({c.columns, c.rows, 8, 8},
                                   std::vector<Uint16>(c.columns * c.rows, 200));
        const auto image = DicomFilmImage::fromItem(*item);
        ASSERT_TRUE(image);
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
    const auto image = DicomFilmImage::fromItem(*item);
    ASSERT_TRUE(image);
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
    struct Case { const char* what; ItemFields fields; Uint16 maxValue; };
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
        const auto square2 = image2->Rsize();
        const auto square1 = image1->Rsize();
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
    std::string error;
    EXPECT_FALSE(DicomFilmImage::fromItem(item, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vantorel::direct_composition
