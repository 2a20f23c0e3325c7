#include "no_template_composition.h"
#include "print_job_fixture.h"

#include "print_job/film_lut.h"
#include "support/other_thread.h"

#include <gtest/gtest.h>

namespace vantorel::print_job::testing {
namespace {

using dc::RectF;
using dc::testing::rectNear;

std::vector<std::string> linesLike(const std::vector<std::string>& lines, const std::string& start)
{
    std::vector<std::string> found;
    for (const auto& line : lines) {
        if (line.rfind(start, 0) == 0)
            found.push_back(line);
    }
    return found;
}

TEST(DoPrint, FilmSessionPrintsEachFilmBoxOnceAndCountsEach)
{
    PrintJobFixture f;
    const std::string session = f.addFilmSession();
    f.addFilmBox({1, 1, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(1)}, session);
    f.addFilmBox({2, 2, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(4)}, session);
    f.driver.DoPrint(session, "127.0.0.1");

    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 2u);
    EXPECT_EQ(ended[0].ops.size(), 1u);
    EXPECT_EQ(ended[1].ops.size(), 4u);
    EXPECT_EQ(
        linesLike(f.log.lines, "打印"),
        (std::vector<std::string>{"打印第【1】张胶片。", "打印完毕。", "打印第【2】张胶片。", "打印完毕。"}));
    EXPECT_EQ(f.count.value(), 2);
    EXPECT_EQ(f.printCount.writes, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(f.observer.counts, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(f.observer.pages.size(), 2u);
}

TEST(DoPrint, NothingIsPrintedForUnknownUidsAndEmptySessionsAndTheAnswerSaysSo)
{
    PrintJobFixture f;
    const std::string session = f.addFilmSession();
    EXPECT_EQ(f.driver.DoPrint(session, "127.0.0.1").status, 0xC600);
    const auto unknown = f.driver.DoPrint("1.2.3.unknown", "127.0.0.1");
    EXPECT_EQ(unknown.status, 0x0112);
    EXPECT_FALSE(unknown.errorComment.empty());
    EXPECT_TRUE(f.log.lines.empty());
    EXPECT_TRUE(f.surface.documents().empty());
    EXPECT_EQ(f.count.value(), 0);
    EXPECT_TRUE(f.printCount.writes.empty());
}

TEST(DoPrint, FilmBoxRemovedFromItsSessionIsPassedOver)
{
    PrintJobFixture f;
    const std::string session = f.addFilmSession();
    const std::string first = f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1)}, session);
    f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1)}, session);
    f.store.remove("", first);
    f.driver.DoPrint(session, "127.0.0.1");
    EXPECT_EQ(f.surface.endedDocuments().size(), 1u);
    EXPECT_EQ(f.count.value(), 1);
}

TEST(DoPrint, FilmWithAnEmptyImageBoxPrintsTheImagesItHas)
{
    PrintJobFixture f;
    auto images = PrintJobFixture::images(4);
    images[2].reset();  // image box 3 received no image
    const std::string box = f.addFilmBox({2, 2, "", "14INX17IN", "PORTRAIT", images});
    const auto outcome = f.driver.DoPrint(box, "127.0.0.1");

    EXPECT_EQ(outcome.status, 0);
    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(ended[0].ops.size(), 3u);
    // Image 4 sits in cell 4 (second row, second column), not in cell 3.
    EXPECT_GT(ended[0].ops[2].rect.x, 0);
    EXPECT_GT(ended[0].ops[2].rect.y, ended[0].ops[0].rect.y);
    EXPECT_TRUE(f.log.contains("本次发送图像数目：3"));
    EXPECT_TRUE(f.log.contains("打印第【1】张胶片。"));
    EXPECT_EQ(f.observer.pages.size(), 1u);
}

// The images of a film are rendered side by side: each still lands in its
// own cell, and the log lines about them come in cell order.
TEST(DoPrint, ImagesRenderedSideBySideKeepTheirCellsAndTheirLogLinesInOrder)
{
    PrintJobFixture f;
    std::vector<std::optional<ImageFields>> images;
    for (int k = 0; k < 16; ++k)
        images.push_back(ImageFields{32 + 8 * k, 48});
    const std::string box = f.addFilmBox({4, 4, "", "14INX17IN", "PORTRAIT", images});
    const auto& children = f.store.Dataset("", box)->childObjects();
    for (int k : {2, 7, 11})
        f.store.Dataset("", children[static_cast<std::size_t>(k)].instanceUid)
            ->attributes()
            .putAndInsertString(DCM_Polarity, ("SIDEWAYS" + std::to_string(k)).c_str());
    ASSERT_EQ(f.driver.DoPrint(box, "127.0.0.1").status, 0);

    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(ended[0].ops.size(), 16u);
    // Each picture is padded to a square of its longer side: 48 rows, 32 to
    // 152 columns, one width per cell.
    for (std::size_t k = 0; k < 16; ++k)
        EXPECT_EQ(ended[0].ops[k].picture.width, std::max(48, 32 + 8 * static_cast<int>(k)))
            << "cell " << k + 1;
    std::vector<std::string> ignored;
    for (const std::string& line : f.log.lines)
        if (line.find(": ignored Polarity") != std::string::npos)
            ignored.push_back(line.substr(line.find("SIDEWAYS")));
    EXPECT_EQ(ignored, (std::vector<std::string>{"SIDEWAYS2\"", "SIDEWAYS7\"", "SIDEWAYS11\""}));
}

// What the N-ACTION's answer says for each way a film can fail to print; the
// console hears of a printer failure and of the next film that prints.
TEST(DoPrint, FilmsNotPrintedAreReportedWithTheirReason)
{
    using Printer = ps::PrintOutcome::Printer;
    struct Case {
        const char* what;
        bool session;
        std::vector<FilmBoxFields> boxes;
        std::string refusal;  // of the printer
        std::uint16_t status;
        std::string comment;
        Printer printer;
    };
    const auto one = PrintJobFixture::images(1);
    const std::vector<std::optional<ImageFields>> none(4);
    const Case cases[] = {
        {"printed", false, {{1, 1, "", "A4", "", one}}, "", 0, "", Printer::Normal},
        {"film box without images",
         false,
         {{2, 2, "", "A4", "", none}},
         "",
         0xB603,
         "Film box has no image, nothing printed",
         Printer::Unchanged},
        {"session: one film empty, one printed",
         true,
         {{2, 2, "", "A4", "", none}, {1, 1, "", "A4", "", one}},
         "",
         0xB602,
         "1 of 2 film boxes have no image",
         Printer::Normal},
        {"disk full",
         false,
         {{1, 1, "", "A4", "", one}},
         "No space left on device",
         0x0110,
         "Film not printed: No space left on device",
         Printer::Failed},
        {"failure wins over an empty film",
         true,
         {{2, 2, "", "A4", "", none}, {1, 1, "", "A4", "", one}},
         "printer stopped",
         0x0110,
         "1 of 2 films not printed: printer stopped",
         Printer::Failed},
        {"unsupported uneven format",
         false,
         {{3, 0, "ROW", "A4", "", PrintJobFixture::images(3)}},
         "",
         0x0110,
         "Film not printed: display format ROW\\3,0 not supported",
         Printer::Unchanged},
    };
    for (const auto& c : cases) {
        PrintJobFixture f;
        f.surface.refusal = c.refusal;
        const std::string session = f.addFilmSession();
        std::string box;
        for (const auto& fields : c.boxes)
            box = f.addFilmBox(fields, session);
        const auto outcome = f.driver.DoPrint(c.session ? session : box, "127.0.0.1");
        EXPECT_EQ(outcome.status, c.status) << c.what;
        EXPECT_EQ(outcome.errorComment, c.comment) << c.what;
        EXPECT_EQ(outcome.printer, c.printer) << c.what;
        EXPECT_EQ(f.count.value(), static_cast<int>(c.boxes.size())) << c.what;
        const std::vector<std::string> problems =
            c.printer == Printer::Failed ? std::vector<std::string>{c.refusal} : std::vector<std::string>{};
        EXPECT_EQ(f.observer.problems, problems) << c.what;
    }

    // The next film that prints clears the problem.
    PrintJobFixture f;
    const std::string box = f.addFilmBox({1, 1, "", "A4", "", one});
    f.surface.refusal = "No space left on device";
    f.driver.DoPrint(box, "127.0.0.1");
    f.surface.refusal.clear();
    EXPECT_EQ(f.driver.DoPrint(box, "127.0.0.1").printer, Printer::Normal);
    EXPECT_EQ(f.observer.problems, (std::vector<std::string>{"No space left on device", ""}));
}

TEST(DoPrint, TemplateRoadReportIsTheFilmsResult)
{
    PrintJobFixture f;
    f.settings.templateMode = true;
    f.templateRoad.refusal = "printer Laser not installed";
    const std::string box = f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1)});
    const auto outcome = f.driver.DoPrint(box, "127.0.0.1");
    EXPECT_EQ(outcome.status, 0x0110);
    EXPECT_EQ(outcome.errorComment, "Film not printed: printer Laser not installed");
    EXPECT_EQ(f.count.value(), 1);
}

TEST(DoPrint, NumberOfCopiesGivesThatManySheetsEachCounted)
{
    struct Case {
        const char* copies;
        int sheets;
        bool logged;
    };
    const Case cases[] = {
        {nullptr, 1, false}, {"1", 1, false},  {"2", 2, false}, {"3", 3, false},
        {"0", 1, true},      {"100", 1, true}, {"-2", 1, true}, {"two", 1, true},
    };
    for (const bool onSession : {false, true}) {
        for (const auto& c : cases) {
            const std::string what = std::string(c.copies ? c.copies : "(absent)") +
                (onSession ? " on the session" : " on the film box");
            PrintJobFixture f;
            const std::string session = f.addFilmSession(c.copies);
            const std::string box = f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1)}, session);
            EXPECT_EQ(f.driver.DoPrint(onSession ? session : box, "127.0.0.1").status, 0) << what;
            EXPECT_EQ(f.surface.endedDocuments().size(), static_cast<std::size_t>(c.sheets)) << what;
            EXPECT_EQ(f.count.value(), c.sheets) << what;
            EXPECT_EQ(linesLike(f.log.lines, "打印第").size(), static_cast<std::size_t>(c.sheets)) << what;
            EXPECT_EQ(f.log.contains("Number of Copies \"" + std::string(c.copies ? c.copies : "") +
                                     "\" of film session " + session + " is not 1 to 99: one sheet printed"),
                      c.logged)
                << what;
        }
    }
}

// On the template road every copy is composed and printed, but only the first
// is marked to be saved: a film is archived once, however many sheets it has.
TEST(DoPrint, TemplateCopiesAreSavedOnce)
{
    PrintJobFixture f;
    f.settings.templateMode = true;
    const std::string session = f.addFilmSession("3");
    f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1)}, session);
    EXPECT_EQ(f.driver.DoPrint(session, "127.0.0.1").status, 0);
    ASSERT_EQ(f.templateRoad.films.size(), 3u);
    EXPECT_TRUE(f.templateRoad.films[0].firstCopy);
    EXPECT_FALSE(f.templateRoad.films[1].firstCopy);
    EXPECT_FALSE(f.templateRoad.films[2].firstCopy);
    EXPECT_EQ(f.count.value(), 3);
}

// The console hears of every film through the page-ended event, even from a
// surface that keeps no pages (the real printer keeps none).
TEST(DoPrint, ObserverSeesEveryFilmEnded)
{
    PrintJobFixture f;
    f.surface.setKeepDocuments(false);
    const std::string session = f.addFilmSession();
    f.addFilmBox({1, 1, "", "A4", "", PrintJobFixture::images(1, {64, 64, 10})}, session);
    f.addFilmBox({2, 1, "", "A4", "", PrintJobFixture::images(2, {64, 64, 20})}, session);
    f.driver.DoPrint(session, "127.0.0.1");
    ASSERT_EQ(f.observer.pages.size(), 2u);
    EXPECT_EQ(f.observer.pages[0].ops.size(), 1u);
    ASSERT_EQ(f.observer.pages[1].ops.size(), 2u);
    EXPECT_EQ((*f.observer.pages[1].ops[0].picture.pixels)[0], 20);
    EXPECT_TRUE(f.surface.documents().empty());
}

TEST(DoPrint, EachFilmBoxUsesItsOwnDisplayFormat)
{
    PrintJobFixture f;
    const std::string small = f.addFilmBox({1, 1, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(1)});
    f.addFilmBox({3, 4, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(12)});
    f.driver.DoPrint(small, "127.0.0.1");

    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_TRUE(f.log.contains("cols=1"));
    EXPECT_TRUE(rectNear(ended[0].ops[0].rect, {0, (16840 - 11900) / 2.0f, 11900, 11900}));
}

TEST(DoPrint, RoutesByDeviceRotatingThroughThePool)
{
    PrintJobFixture f;
    f.settings.routeByDevice = true;
    f.settings.routeDeviceIp[2] = "127.0.0.1";
    f.settings.routePrinters[2] = {"A", "B", "C"};
    f.settings.routeDeviceIp[5] = "10.1.1.1";
    f.settings.routePrinters[5] = {"Not installed"};
    struct Film {
        const char* rip;
        const char* printer;
    };
    const Film films[] = {
        {"127.0.0.1", "B"}, {"127.0.0.1", "C"},
        {"127.0.0.1", "A"}, {"10.9.9.9", "A"},  // route 8: the previous printer stays
        {"10.1.1.1", "A"},                      // a name that matches no printer changes nothing
        {"127.0.0.1", "B"},
    };
    for (const auto& film : films) {
        const std::string box = f.addFilmBox({1, 1, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(1)});
        f.driver.DoPrint(box, film.rip);
        ASSERT_FALSE(f.surface.documents().empty());
        EXPECT_EQ(f.surface.documents().back().printer, film.printer) << film.rip;
    }
}

TEST(DoPrint, RoutesByTheFilmBoxsOwnFilmSize)
{
    PrintJobFixture f;
    f.settings.routePrinters[4] = {"C"};
    f.settings.routePrinters[0] = {"B"};
    const std::string box = f.addFilmBox({1, 1, "", "8inx10in", "PORTRAIT", PrintJobFixture::images(1)});
    f.addFilmBox({1, 1, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(1)});
    f.driver.DoPrint(box, "127.0.0.1");
    EXPECT_EQ(f.surface.documents().back().printer, "C");
    EXPECT_EQ(f.driver.rotation().CurrentPrinterName(), "C");
}

TEST(DoPrint, OrientationMarginsAndHeaderBandSetUpThePage)
{
    PrintJobFixture f;
    f.settings.marginLeft = 10;
    f.settings.marginTop = -5;
    f.settings.printHeader = 1;
    f.settings.header.htjcs = 1000;
    struct Film {
        const char* orientation;
        float pageWidth;
        RectF rect;
    };
    const Film films[] = {
        // Area 11900 x 15840: the square is centred below the band.
        {"PORTRAIT", 11900, {0, (15840 - 11900) / 2.0f + 1000, 11900, 11900}},
        {"LANDSCAPE", 16840, {(16840 - 10900) / 2.0f, 1000, 10900, 10900}},
        {"", 16840, {(16840 - 10900) / 2.0f, 1000, 10900, 10900}},  // absent: stays landscape
        {"SIDEWAYS", 16840, {(16840 - 10900) / 2.0f, 1000, 10900, 10900}},
        {"PORTRAIT", 11900, {0, (15840 - 11900) / 2.0f + 1000, 11900, 11900}},
    };
    for (const auto& film : films) {
        const std::string box = f.addFilmBox({1, 1, "", "A4", film.orientation, PrintJobFixture::images(1)});
        f.driver.DoPrint(box, "127.0.0.1");
        const auto& page = f.surface.documents().back();
        EXPECT_FLOAT_EQ(page.pageWidth, film.pageWidth) << film.orientation;
        EXPECT_FLOAT_EQ(page.originX, 567.0f) << film.orientation;
        EXPECT_FLOAT_EQ(page.originY, -283.5f) << film.orientation;
        ASSERT_EQ(page.ops.size(), 3u) << film.orientation;  // icon, name, image
        EXPECT_TRUE(rectNear(page.ops[2].rect, film.rect)) << film.orientation;
    }
}

TEST(DoPrint, UnevenFormatsGoToTheRowColumnLayout)
{
    PrintJobFixture f;
    const std::string box = f.addFilmBox({1, 2, "ROW", "14INX17IN", "PORTRAIT", PrintJobFixture::images(3)});
    f.driver.DoPrint(box, "127.0.0.1");
    EXPECT_TRUE(f.log.contains("不均衡排版 cols=1"));
    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(ended[0].ops.size(), 3u);
    // Second row: two cells 5950 x 8420; the square takes the cell width.
    EXPECT_TRUE(rectNear(ended[0].ops[2].rect, {5950, 8420 + 1235, 5950, 5950}, 0));
}

TEST(DoPrint, GreyImageSequenceFirstElseColour)
{
    PrintJobFixture f;
    ImageFields colour;
    colour.colour = true;
    colour.value = 90;
    const std::string box = f.addFilmBox({1, 1, "", "A4", "PORTRAIT", {colour}});
    f.driver.DoPrint(box, "127.0.0.1");
    const auto ended = f.surface.endedDocuments();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_EQ(ended[0].ops.size(), 1u);
    EXPECT_EQ(ended[0].ops[0].picture.format, dc::Picture::Format::Rgb24);
}

TEST(DoPrint, CountContinuesFromTheStoredValue)
{
    PrintJobFixture f;
    f.printCount.value = 41;
    f.count.readStored();  // as start-up reads it
    const std::string box = f.addFilmBox({1, 1, "", "A4", "PORTRAIT", PrintJobFixture::images(1)});
    f.driver.DoPrint(box, "127.0.0.1");
    EXPECT_TRUE(f.log.contains("打印第【42】张胶片。"));
    EXPECT_EQ(f.printCount.value, 42);
}

TEST(DoPrint, TemplateModeHandsCellsToTheTemplateRoadAndCounts)
{
    for (const char* lut : {"0", "1"}) {
        PrintJobFixture f;
        f.settings.templateMode = true;
        f.settings.lutEnabled = lut;
        auto images = PrintJobFixture::images(4, {8, 8, 128});
        images[1].reset();
        const std::string box = f.addFilmBox({2, 2, "", "A3", "LANDSCAPE", images});
        f.driver.DoPrint(box, "10.0.0.5");

        ASSERT_EQ(f.templateRoad.films.size(), 1u) << lut;
        const TemplateFilm& film = f.templateRoad.films[0];
        EXPECT_EQ(film.Rip, "10.0.0.5");
        EXPECT_EQ(film.FilmOrientation, "LANDSCAPE");
        EXPECT_EQ(film.FilmSize, "A3");
        ASSERT_EQ(film.cells.size(), 4u);
        EXPECT_TRUE(film.cells[0] && film.cells[2] && film.cells[3]);
        EXPECT_FALSE(film.cells[1]);
        const dc::Picture plain = dc::testing::taggedPicture(1, 1, 128);
        const std::uint8_t level = std::string(lut) == "0" ? 128 : (*applyFilmLut(plain).pixels)[0];
        EXPECT_EQ((*film.cells[0]->pixels)[0], level) << lut;

        EXPECT_TRUE(f.surface.documents().empty());  // nothing on the direct road
        EXPECT_EQ(linesLike(f.log.lines, ""),
                  (std::vector<std::string>{"PrintReport", "打印第【1】张胶片。", "打印完毕。"}));
    }
}

TEST(DoPrint, WithoutATemplateRoadTheFilmIsLoggedAsNotComposed)
{
    PrintJobFixture f;
    NoTemplateComposition none(f.log);
    PrintJobDriver driver(PrintJobParts{f.store, f.settings, f.settings, f.count, f.surface, f.pictures, none,
                                        f.log, f.messages, "/srv/film", f.observer});
    f.settings.templateMode = true;
    const std::string box = f.addFilmBox({1, 1, "", "A4", "PORTRAIT", PrintJobFixture::images(1)});
    driver.DoPrint(box, "127.0.0.1");
    ASSERT_EQ(f.log.lines.size(), 3u);
    EXPECT_NE(f.log.lines[0].find("not composed"), std::string::npos);
    EXPECT_EQ(f.log.lines[1], "打印第【1】张胶片。");
}

TEST(FilmLut, FortyFiveEntriesFromZeroTo65280)
{
    const auto& lut = filmLut();
    EXPECT_EQ(lut.front(), 0);
    EXPECT_EQ(lut[1], 48 * 256);
    EXPECT_EQ(lut[24], 117 * 256);
    EXPECT_EQ(lut.back(), 65280);
    const dc::Picture black = dc::testing::taggedPicture(1, 1, 0);
    const dc::Picture white = dc::testing::taggedPicture(1, 1, 255);
    EXPECT_EQ((*applyFilmLut(black).pixels)[0], 0);
    EXPECT_EQ((*applyFilmLut(white).pixels)[0], 255);
}

TEST(PrintJobDriverDeathTest, DoPrintFromAnotherThreadStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    PrintJobFixture f;
    const std::string box = f.addFilmBox({1, 1, "", "14INX17IN", "PORTRAIT", PrintJobFixture::images(1)});
    EXPECT_DEATH(vantorel::testing::onAnotherThread([&] { f.driver.DoPrint(box, "127.0.0.1"); }),
                 std::string("PrintJobDriver::DoPrint ") + vantorel::testing::offOwnerThread);
}

}  // namespace
}  // namespace vantorel::print_job::testing
