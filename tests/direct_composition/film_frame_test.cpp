#include "direct_composition/standard_layout.h"
#include "direct_composition/uneven_layout.h"

#include "composition_fixture.h"

#include <gtest/gtest.h>

namespace vantorel::direct_composition::testing {
namespace {

// One square image on a 1x1 film over the given area; returns the finished page.
FilmPage composeOne(CompositionFixture& f, float& width, float& height)
{
    const auto images = CompositionFixture::images({{64, 64}});
    const RectF area = PrintImgtoPrinter(f.context(), f.surface, images, {0, 0, width, height}, {1, 1}).area;
    width = area.width;
    height = area.height;
    const auto ended = f.surface.endedDocuments();
    return ended.empty() ? FilmPage{} : ended.back();
}

TEST(BottomAdjustment, ShrinksWidthByTenTwipsAStepAndHeightByTheAreaRatio)
{
    struct Case {
        int b;
        float width;
        float height;
        double expectedWidth;
        double expectedHeight;
    };
    const Case cases[] = {
        {0, 11900, 15840, 11900, 15840},
        {250, 11900, 15840, 9400, 15840 - 2500.0 * 11900 / 15840},
        {100, 16840, 10900, 15840, 10900 - 1000.0 * 16840 / 10900},  // landscape
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        f.settings.blackBase = 1;
        f.settings.marginBottom = c.b;
        float width = c.width, height = c.height;
        const FilmPage page = composeOne(f, width, height);
        EXPECT_NEAR(width, c.expectedWidth, 0.001) << c.b;
        EXPECT_NEAR(height, c.expectedHeight, 0.001) << c.b;
        ASSERT_FALSE(page.ops.empty()) << c.b;
        // No header: the black base starts at y = 0 and covers the reduced area.
        EXPECT_TRUE(rectNear(page.ops[0].rect, {0, 0, width, height})) << c.b;
    }
}

TEST(HeaderBand, GeneratedHeaderDrawsIconAndNameInItsStyle)
{
    struct Case {
        const char* hct;
        bool bold;
        const char* hys;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {"True", true, "255", 255u},
        {"true", true, "16711680.5", 16711680u},  // halves to even
        {"TRUE", true, "33023.5x", 33024u},
        {"False", false, "abc", 0u},
        {"1", false, "", 0u},
        {"false", false, "-255", 0u},
        {"false", false, "99999999999", 0u},  // no colour fits: black
    };
    for (const auto& c : cases) {
        CompositionFixture f;
        f.headerOn(1200);
        f.settings.header.hleft = "300";
        f.settings.header.htop = "150.5";
        f.settings.header.hname = "市第一人民医院";
        f.settings.header.hzt = "Noto Sans CJK SC";
        f.settings.header.hzh = "22";
        f.settings.header.hct = c.hct;
        f.settings.header.hys = c.hys;
        float width = 9000, height = 14000;
        const FilmPage page = composeOne(f, width, height);
        ASSERT_EQ(page.ops.size(), 3u) << c.hct;
        EXPECT_EQ(tagOf(page.ops[0].picture), 201) << c.hct;
        EXPECT_TRUE(rectNear(page.ops[0].rect, {300, 150.5f, 700, 700})) << c.hct;
        const DrawOp& text = page.ops[1];
        EXPECT_EQ(text.kind, DrawOp::Kind::Text);
        EXPECT_EQ(text.text, "市第一人民医院");
        EXPECT_FLOAT_EQ(text.rect.x, 1280);
        EXPECT_FLOAT_EQ(text.rect.y, 150.5f);
        EXPECT_EQ(text.style.font, "Noto Sans CJK SC");
        EXPECT_DOUBLE_EQ(text.style.pointSize, 22);
        EXPECT_EQ(text.style.bold, c.bold) << c.hct;
        EXPECT_EQ(text.style.colour, c.colour) << c.hys;
        // The image is shifted by the band height: (14000 - 9000) / 2 + 1200.
        EXPECT_TRUE(rectNear(page.ops[2].rect, {0, 3700, 9000, 9000})) << c.hct;
    }
}

TEST(HeaderBand, CustomPictureSpansTheSheetWidth)
{
    CompositionFixture f;
    f.headerOn(1000);
    f.settings.marginBottom = 250;
    f.settings.header.yyname = "1";
    f.pictures.custom = taggedPicture(800, 100, 202);
    float width = f.surface.pageWidth(), height = f.surface.pageHeight() - 1000;
    const FilmPage page = composeOne(f, width, height);
    ASSERT_EQ(page.ops.size(), 2u);
    EXPECT_EQ(tagOf(page.ops[0].picture), 202);
    EXPECT_TRUE(rectNear(page.ops[0].rect, {0, 0, 11900, 1000}));  // not the reduced 9400
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(HeaderBand, MissingCustomPictureIsReportedEveryFilmAndTheFilmStillPrints)
{
    CompositionFixture f;
    f.headerOn(1000);
    f.settings.header.yyname = "1";
    for (int film = 0; film < 2; ++film) {
        float width = 9000, height = 14000;
        composeOne(f, width, height);
    }
    const std::string message = "图片未找到|启用自定义图片医院名称时，请在【/srv/film/"
                                "医院名称】文件夹中放入医院名称图片【yymc.bmp】才能打印。";
    EXPECT_EQ(f.messages.shown, (std::vector<std::string>{message, message}));
    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 2u);
    ASSERT_EQ(ended[1].ops.size(), 1u);  // only the image, still shifted
    EXPECT_TRUE(rectNear(ended[1].ops[0].rect, {0, 3500, 9000, 9000}));
}

TEST(HeaderBand, UnevenLayoutSharesBlackBaseAndHeader)
{
    CompositionFixture f;
    f.headerOn(1000);
    f.settings.blackBase = 1;
    f.settings.marginBottom = 100;
    const auto images = CompositionFixture::images({{64, 64}, {64, 64}, {64, 64}});
    PrintImgtoPrinter_rc(f.context(), f.surface, images, {0, 0, 10000, 15000}, {1, 2}, "ROW");
    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(ended[0].ops.size(), 6u);
    EXPECT_TRUE(rectNear(ended[0].ops[0].rect, {0, 1000, 9000, 15000 - 1000 * 10000.0f / 15000}));
    EXPECT_EQ(ended[0].ops[1].picture.width, 32);  // the icon
    EXPECT_EQ(ended[0].ops[2].kind, DrawOp::Kind::Text);
}

}  // namespace
}  // namespace vantorel::direct_composition::testing
