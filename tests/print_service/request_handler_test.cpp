#include "print_service/request_handler.h"

#include "print_service/print_job_port.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/sop_uids.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "support/other_thread.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>
#include <dcmtk/dcmdata/dcvrobow.h>

#include <gtest/gtest.h>

namespace vantorel::print_service {
namespace {

struct RecordingPrintJob final : PrintJobPort {
    PrintOutcome DoPrint(const std::string& ruid, const std::string& Rip) override
    {
        calls.push_back(ruid + "|" + Rip);
        if (outcomes.empty())
            return {};
        PrintOutcome outcome = outcomes.front();
        outcomes.erase(outcomes.begin());
        return outcome;
    }
    std::vector<std::string> calls;
    std::vector<PrintOutcome> outcomes;  // what the next calls return; Success when none
};

std::string textOf(const DcmItem& item, const DcmTagKey& tag)
{
    OFString value;
    const_cast<DcmItem&>(item).findAndGetOFStringArray(tag, value);
    return value.c_str();
}

struct HandlerFixture : ::testing::Test {
    NormalisedResponse send(std::uint16_t command, const std::string& cls, const std::string& uid,
                            std::unique_ptr<DcmDataset> data = nullptr)
    {
        NormalisedRequest request;
        request.commandField = command;
        if (command == command::nCreate) {
            request.affectedSopClassUid = cls;
            request.affectedSopInstanceUid = uid;
        } else {
            request.requestedSopClassUid = cls;
            request.requestedSopInstanceUid = uid;
        }
        request.dataSet = std::move(data);
        return handler.handle(request, association, sessions);
    }

    std::string createSession()
    {
        return send(command::nCreate, sop::basicFilmSession, "").affectedSopInstanceUid;
    }

    NormalisedResponse createFilmBox(const std::string& format, const std::string& session,
                                     const std::string& filmSize = "14INX17IN")
    {
        auto data = std::make_unique<DcmDataset>();
        data->putAndInsertString(DCM_ImageDisplayFormat, format.c_str());
        data->putAndInsertString(DCM_FilmSizeID, filmSize.c_str());
        auto* item = new DcmItem;
        item->putAndInsertString(DCM_ReferencedSOPClassUID, sop::basicFilmSession);
        item->putAndInsertString(DCM_ReferencedSOPInstanceUID, session.c_str());
        data->insertSequenceItem(DCM_ReferencedFilmSessionSequence, item);
        return send(command::nCreate, sop::basicFilmBox, "", std::move(data));
    }

    std::vector<std::string> logSince(std::size_t from) const
    {
        return {log.lines.begin() + static_cast<long>(from), log.lines.end()};
    }

    PrintObjectStore store;
    FilmParameters film;
    settings::Settings settings;
    RecordingPrintJob printJob;
    testing::MemoryRunLog log;
    RequestHandler handler{store, film, settings, settings, printJob, log};
    AssociationInfo association{1, "MODALITY", "ZQ", "127.0.0.1", sop::grayscalePrintMeta};
    AssociationFilmSessions sessions;
};

TEST_F(HandlerFixture, FilmBoxGetsOneImageBoxPerCellNamedInItsReferencedSequence)
{
    struct Case {
        const char* format;
        std::size_t boxes;
    };
    const std::string session = createSession();
    for (const Case c : {Case{"STANDARD\\3,4", 12}, Case{"ROW\\2,3", 5}, Case{"COL\\1,2", 3}}) {
        NormalisedResponse response = createFilmBox(c.format, session);
        ASSERT_TRUE(response.answered && response.dataSet) << c.format;
        const PrintObject* box = store.Dataset("", response.affectedSopInstanceUid);
        ASSERT_NE(box, nullptr) << c.format;
        EXPECT_EQ(box->childObjects().size(), c.boxes) << c.format;
        EXPECT_EQ(box->filmBoxFormat()->imageBoxCount, static_cast<int>(c.boxes)) << c.format;

        DcmSequenceOfItems* refs = nullptr;
        ASSERT_TRUE(response.dataSet->findAndGetSequence(DCM_ReferencedImageBoxSequence, refs).good());
        ASSERT_EQ(refs->card(), c.boxes) << c.format;
        for (std::size_t i = 0; i < c.boxes; ++i) {
            const std::string uid = textOf(*refs->getItem(i), DCM_ReferencedSOPInstanceUID);
            EXPECT_EQ(uid, box->childObjects()[i].instanceUid) << c.format << " cell " << i + 1;
            const PrintObject* imageBox = store.Dataset("", uid);
            ASSERT_NE(imageBox, nullptr);
            EXPECT_EQ(textOf(imageBox->attributes(), DCM_ReferencedSOPInstanceUID), uid);
        }
    }
}

// A film box is laid out only from its own Image Display Format: one that
// cannot be printed is refused and nothing is made, never given the grid of
// the film box created before it.
TEST_F(HandlerFixture, AFilmBoxWhoseFormatCannotBePrintedIsRefusedAndNothingIsMade)
{
    const std::string session = createSession();
    createFilmBox("STANDARD\\4,4", session);
    const std::size_t stored = store.size();
    const char* formats[] = {"SLIDE",
                             "SUPERSLIDE",
                             "CUSTOM\\1",
                             "",
                             "STANDARD",
                             "FOO",
                             "FOO\\2,2",
                             "COL\\2",
                             "STANDARD\\2,3,4",
                             "STANDARD\\0,5",
                             "STANDARD\\200,200",
                             "ROWCOL\\1,2",
                             "ROW\\11,1",
                             "COL\\2,0,1",
                             "ROW\\1,2,",
                             "COL\\2,40000,1",
                             "ROW\\10,10,10,10,10,10,10,10,10,10,1"};
    for (const char* format : formats) {
        const NormalisedResponse response = createFilmBox(format, session);
        EXPECT_EQ(response.status, 0x0106) << format;
        EXPECT_EQ(response.errorComment,
                  "Image Display Format \"" + std::string(format) + "\" cannot be printed")
            << format;
        EXPECT_FALSE(response.dataSet) << format;
    }
    EXPECT_EQ(store.size(), stored);
    EXPECT_EQ(store.Dataset("", session)->childObjects().size(), 1u);
    EXPECT_TRUE(
        log.contains("Film box refused: Image Display Format \"SLIDE\" cannot be printed (not two counts)"));

    EXPECT_TRUE(log.contains("Film box refused: Image Display Format \"ROW\\11,1\" cannot be printed "
                             "(more than 10 images in one row)"));

    // A template fills at most five slots of a ROW or COL film.
    settings.templateMode = true;
    EXPECT_EQ(createFilmBox("ROW\\2,2", session).status, 0);
    EXPECT_EQ(createFilmBox("ROW\\1,2,2", session).status, 0);
    EXPECT_EQ(createFilmBox("ROW\\1,2,3", session).status, 0x0106);
}

// ROW and COL take any number of counts: one image box for each image of
// each row (column), in order.
TEST_F(HandlerFixture, RowAndColumnFormatsOfAnyLengthMakeAnImageBoxPerImage)
{
    struct Case {
        const char* format;
        std::size_t boxes;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"ROW\\1,2", 3, {1, 2}},
        {"ROW\\2,2", 4, {2, 2}},
        {"ROW\\1,2,3", 6, {1, 2, 3}},
        {"col\\3,1,2", 6, {3, 1, 2}},
        {"COL\\10,10,10,10,10,10,10,10,10,10", 100, {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
    };
    const std::string session = createSession();
    for (const Case& c : cases) {
        const NormalisedResponse response = createFilmBox(c.format, session);
        ASSERT_EQ(response.status, 0) << c.format;
        const PrintObject* box = store.Dataset("", response.affectedSopInstanceUid);
        EXPECT_EQ(box->childObjects().size(), c.boxes) << c.format;
        EXPECT_EQ(box->filmBoxFormat()->lines, c.lines) << c.format;
    }
}

TEST_F(HandlerFixture, ImageBoxClassFollowsTheFirstPresentationContextAndForceConvert)
{
    struct Case {
        const char* meta;
        bool force;
        const char* boxType;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {sop::grayscalePrintMeta, false, sop::basicGrayscaleImageBox, {"接收到黑白胶片打印指令。"}},
        {sop::grayscalePrintMeta, true, sop::basicGrayscaleImageBox, {"接收到黑白胶片打印指令。"}},
        {sop::colorPrintMeta, false, sop::colorPrintMeta, {"接收到彩色胶片打印指令。"}},
        {sop::colorPrintMeta,
         true,
         sop::basicGrayscaleImageBox,
         {"接收到彩色胶片打印指令。", "强制打印灰度胶片。"}},
        {"", false, sop::colorPrintMeta, {"接收到彩色胶片打印指令。"}},
        {sop::printer, false, sop::colorPrintMeta, {"接收到彩色胶片打印指令。"}},
    };
    const std::string session = createSession();
    for (const Case& c : cases) {
        association.firstAbstractSyntax = c.meta;
        settings.forceConvert = c.force;
        const std::size_t from = log.lines.size();
        const std::string uid = createFilmBox("STANDARD\\1,2", session).affectedSopInstanceUid;
        const PrintObject* box = store.Dataset("", uid);
        ASSERT_EQ(box->childObjects().size(), 2u);
        for (const PrintObject* imageBox : store.children(*box))
            EXPECT_EQ(textOf(imageBox->attributes(), DCM_ReferencedSOPClassUID), c.boxType)
                << c.meta << c.force;
        std::vector<std::string> lines = logSince(from);
        std::vector<std::string> expected{"MetaSOPClass=" + std::string(c.meta)};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        expected.push_back("ImageBoxType=" + std::string(c.boxType));
        auto at = std::find(lines.begin(), lines.end(), expected.front());
        ASSERT_NE(at, lines.end());
        EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(expected.size())), expected)
            << c.meta << " force " << c.force;
    }
}

TEST_F(HandlerFixture, WritesTheExactLogLinesOfEachRequest)
{
    MakePrinterdataset(store, "ZQ", true, "DCMTK");
    const std::string session = createSession();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"N-CREATE{", "SendData 0}"}));

    log.lines.clear();
    const std::string box = createFilmBox("ROW\\2,3", session, "8INX10IN").affectedSopInstanceUid;
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"N-CREATE{", "FilmSize=8INX10IN", "Format:ROW\\2,3",
                                        "行自定义:ROW\\2,3", "Format=2x3",
                                        "MetaSOPClass=1.2.840.10008.5.1.1.9", "接收到黑白胶片打印指令。",
                                        "ImageBoxType=1.2.840.10008.5.1.1.4", "r_c=ROW", "SendData 0}"}));

    log.lines.clear();
    send(command::nGet, sop::printer, sop::printerInstance);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"N-GET{", "Dataset(rclass, ruid),rclass=1.2.840.10008.5.1.1.16",
                                        "Dataset(rclass, ruid),ruid=1.2.840.10008.5.1.1.17"}));

    log.lines.clear();
    send(command::nSet, sop::basicFilmBox, box, std::make_unique<DcmDataset>());
    EXPECT_TRUE(log.lines.empty());

    send(command::nAction, sop::basicFilmBox, box);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Action{", "CallingAE=MODALITY;IP=127.0.0.1", "SendStatus 0}"}));

    log.lines.clear();
    send(command::nDelete, sop::basicFilmBox, box);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Delete{", "SendStatus 0}"}));
}

// A value longer than its VR allows is refused whole, before anything is
// stored or logged at length.
TEST_F(HandlerFixture, AnAttributeLongerThanItsVrAllowsIsRefused)
{
    const std::string session = createSession();
    const std::string huge(20 * 1024 * 1024, 'A');
    const std::size_t stored = store.size();
    const NormalisedResponse box = createFilmBox("STANDARD\\1,1", session, huge);
    EXPECT_EQ(box.status, 0x0106);
    EXPECT_EQ(box.errorComment, "Attribute (2010,0050) longer than its VR allows");
    EXPECT_EQ(store.size(), stored);
    EXPECT_TRUE(
        log.contains("N-CREATE  refused: attribute (2010,0050) of 20971520 bytes, more than CS allows"));

    const std::string made = createFilmBox("STANDARD\\1,1", session).affectedSopInstanceUid;
    auto change = std::make_unique<DcmDataset>();
    change->putAndInsertString(DCM_FilmOrientation, std::string(17, 'P').c_str());
    EXPECT_EQ(send(command::nSet, sop::basicFilmBox, made, std::move(change)).status, 0x0106);
    auto fits = std::make_unique<DcmDataset>();
    fits->putAndInsertString(DCM_FilmSessionLabel, "第一人民医院放射科胶片");  // characters, not bytes, count
    EXPECT_EQ(send(command::nSet, sop::basicFilmSession, session, std::move(fits)).status, 0);
    for (const std::string& line : log.lines)
        EXPECT_LT(line.size(), 1000u);
}

TEST_F(HandlerFixture, AnUnknownObjectIsNoSuchInstanceAndOtherCommandsAreNotAnswered)
{
    struct Case {
        std::uint16_t command;
        const char* uid;
        bool answered;
        std::uint16_t status;
    };
    const Case cases[] = {
        {command::nGet, "unknown", true, 0x0112},
        {command::nSet, "unknown", true, 0x0112},
        {command::nDelete, "unknown", true, 0x0112},
        {command::nEventReport, "x", false, 0},
        {0x0001, "x", false, 0},
        {0x0030, "x", false, 0},
        {0xFFFF, "x", false, 0},
    };
    for (const Case& c : cases) {
        const std::size_t from = log.lines.size();
        NormalisedResponse response =
            send(c.command, sop::basicFilmBox, c.uid, std::make_unique<DcmDataset>());
        EXPECT_EQ(response.answered, c.answered) << std::hex << c.command;
        EXPECT_EQ(response.status, c.status) << std::hex << c.command;
        if (!c.answered)
            EXPECT_EQ(log.lines.size(), from) << std::hex << c.command;
        else
            EXPECT_EQ(response.affectedSopInstanceUid, c.uid) << std::hex << c.command;
    }
    EXPECT_EQ(store.size(), 0u);
}

TEST_F(HandlerFixture, NActionPrintsThroughDoPrintWithTheRequestedUidAndPeerAddress)
{
    association.remoteIp = "10.1.2.3";
    send(command::nAction, sop::basicFilmSession, "1.2.3.4");
    send(command::nAction, sop::basicFilmBox, "unknown");
    EXPECT_EQ(printJob.calls, (std::vector<std::string>{"1.2.3.4|10.1.2.3", "unknown|10.1.2.3"}));
}

// A film that did not reach its printer is not answered as printed: the
// N-ACTION carries the print job's status and Error Comment, and the Printer
// object reports the failure until a film prints again.
TEST_F(HandlerFixture, NActionAnswersWhatPrintingSaysAndThePrinterObjectFollows)
{
    MakePrinterdataset(store, "ZQ", true, "DCMTK 3.6.7");
    using Printer = PrintOutcome::Printer;
    constexpr auto unsaved = PrintOutcome::FilmSaving::Unchanged;
    struct Case {
        const char* what;
        PrintOutcome outcome;
        const char* printerStatus;
        const char* printerInfo;
    };
    const Case cases[] = {
        {"printed", {}, "NORMAL", "NORMAL"},
        {"disk full",
         {0x0110, "Film not printed: No space left on device", Printer::Failed, "No space", unsaved, ""},
         "FAILURE",
         "CHECK PRINTER"},
        {"empty film box: the printer state stays",
         {0xB603, "Film box has no image", Printer::Unchanged, "", unsaved, ""},
         "FAILURE",
         "CHECK PRINTER"},
        {"a film printed again", {0, "", Printer::Normal, "", unsaved, ""}, "NORMAL", "NORMAL"},
    };
    for (const auto& c : cases) {
        printJob.outcomes = {c.outcome};
        const NormalisedResponse response = send(command::nAction, sop::basicFilmBox, "1.2.3.4");
        EXPECT_EQ(response.status, c.outcome.status) << c.what;
        EXPECT_EQ(response.errorComment, c.outcome.errorComment) << c.what;
        const PrinterState state = printerState(store);
        EXPECT_EQ(state.status, c.printerStatus) << c.what;
        EXPECT_EQ(state.info, c.printerInfo) << c.what;
    }
}

// Films that print but cannot be saved make the Printer say WARNING until a
// film is saved again; a printer failure says more and wins meanwhile.
TEST_F(HandlerFixture, FilmSavingThatFailsIsAPrinterWarningUntilAFilmIsSaved)
{
    MakePrinterdataset(store, "ZQ", true, "DCMTK 3.6.7");
    using Printer = PrintOutcome::Printer;
    using Saving = PrintOutcome::FilmSaving;
    const auto outcome = [](Printer printer, Saving saving) {
        PrintOutcome o;
        o.printer = printer;
        o.filmSaving = saving;
        o.filmSavingProblem =
            saving == Saving::Failed ? "cannot create folder /srv/images: Not a directory" : "";
        o.printerProblem = printer == Printer::Failed ? "No space left on device" : "";
        if (printer == Printer::Failed)
            o.status = 0x0110;
        return o;
    };
    struct Step {
        const char* what;
        PrintOutcome outcome;
        const char* status;
        const char* info;
    };
    const Step steps[] = {
        {"printed, not saved", outcome(Printer::Normal, Saving::Failed), "WARNING", "FILM SAVING FAILED"},
        {"printed, not to be saved", outcome(Printer::Normal, Saving::Unchanged), "WARNING",
         "FILM SAVING FAILED"},
        {"not printed", outcome(Printer::Failed, Saving::Unchanged), "FAILURE", "CHECK PRINTER"},
        {"printed again, still not saved", outcome(Printer::Normal, Saving::Failed), "WARNING",
         "FILM SAVING FAILED"},
        {"printed and saved", outcome(Printer::Normal, Saving::Saved), "NORMAL", "NORMAL"},
    };
    for (const Step& step : steps) {
        printJob.outcomes = {step.outcome};
        send(command::nAction, sop::basicFilmBox, "1.2.3.4");
        const PrinterState state = printerState(store);
        EXPECT_EQ(state.status, step.status) << step.what;
        EXPECT_EQ(state.info, step.info) << step.what;
    }
    EXPECT_TRUE(log.contains(
        "Printer Status WARNING: film not saved: cannot create folder /srv/images: Not a directory"));
    EXPECT_TRUE(log.contains("Printer Status NORMAL: films are saved again"));
}

TEST_F(HandlerFixture, NGetReturnsTheWholePrinterObjectWhateverIsAsked)
{
    MakePrinterdataset(store, "ZQ ", true, "DCMTK 3.6.7");
    auto ask = std::make_unique<DcmDataset>();
    NormalisedRequest request;
    request.commandField = command::nGet;
    request.requestedSopClassUid = sop::printer;
    request.requestedSopInstanceUid = sop::printerInstance;
    NormalisedResponse response = handler.handle(request, association, sessions);
    ASSERT_TRUE(response.dataSet);
    EXPECT_EQ(response.dataSet->card(), 8u);
    EXPECT_EQ(textOf(*response.dataSet, DCM_PrinterStatus), "NORMAL");
    EXPECT_EQ(response.affectedSopInstanceUid, sop::printerInstance);

    // The Printer is the server's: N-GET only, and nothing else changes it.
    auto status = std::make_unique<DcmDataset>();
    status->putAndInsertString(DCM_PrinterStatus, "FAILURE");
    status->putAndInsertString(DCM_PrinterStatusInfo, "FILM JAM");
    EXPECT_EQ(send(command::nSet, sop::printer, sop::printerInstance, std::move(status)).status, 0x0211);
    EXPECT_EQ(send(command::nDelete, sop::printer, sop::printerInstance).status, 0x0211);
    EXPECT_EQ(send(command::nAction, sop::printer, sop::printerInstance).status, 0x0211);
    EXPECT_EQ(send(command::nCreate, sop::printer, "").status, 0x0211);
    EXPECT_EQ(send(command::nCreate, sop::printer, sop::printerInstance).status, 0x0211);
    EXPECT_TRUE(printJob.calls.empty());
    const NormalisedResponse after = send(command::nGet, sop::printer, sop::printerInstance);
    ASSERT_TRUE(after.dataSet);
    EXPECT_EQ(after.dataSet->card(), 8u);
    EXPECT_EQ(textOf(*after.dataSet, DCM_PrinterStatus), "NORMAL");
    EXPECT_EQ(textOf(*after.dataSet, DCM_PrinterStatusInfo), "NORMAL");
}

TEST_F(HandlerFixture, NCreateKeepsAGivenUidOrMakesOneAndAnswersWithTheWholeObject)
{
    auto data = std::make_unique<DcmDataset>();
    data->putAndInsertString(DCM_NumberOfCopies, "2");
    NormalisedResponse given = send(command::nCreate, sop::basicFilmSession, "1.2.3.99", std::move(data));
    EXPECT_EQ(given.affectedSopInstanceUid, "1.2.3.99");
    EXPECT_EQ(textOf(*given.dataSet, DCM_SOPInstanceUID), "1.2.3.99");
    EXPECT_EQ(textOf(*given.dataSet, DCM_SOPClassUID), sop::basicFilmSession);
    EXPECT_EQ(textOf(*given.dataSet, DCM_NumberOfCopies), "2");

    NormalisedResponse made = createFilmBox("STANDARD\\1,1", "1.2.3.99");
    EXPECT_FALSE(made.affectedSopInstanceUid.empty());
    EXPECT_EQ(textOf(*made.dataSet, DCM_SOPInstanceUID), made.affectedSopInstanceUid);
    EXPECT_EQ(textOf(*made.dataSet, DCM_SOPClassUID), sop::basicFilmBox);

    // A Presentation LUT or any other class is a plain object.
    NormalisedResponse lut = send(command::nCreate, sop::presentationLut, "");
    EXPECT_NE(store.Dataset("", lut.affectedSopInstanceUid), nullptr);
    EXPECT_EQ(sessions.size(), 1u);
}

TEST_F(HandlerFixture, FilmBoxesJoinTheirSessionAndEachKeepsItsOwnFormat)
{
    const std::string session = createSession();
    const std::string first = createFilmBox("STANDARD\\2,2", session, "14INX17IN").affectedSopInstanceUid;
    const std::string second = createFilmBox("COL\\1,2", session, "8INX10IN").affectedSopInstanceUid;
    const std::string orphan = createFilmBox("STANDARD\\1,1", "no-such-session").affectedSopInstanceUid;
    EXPECT_EQ(createFilmBox("garbage", session, "A4").status, 0x0106);

    const PrintObject* stored = store.Dataset("", session);
    ASSERT_EQ(stored->childObjects().size(), 2u);
    EXPECT_EQ(stored->childObjects()[0].instanceUid, first);
    EXPECT_EQ(stored->childObjects()[1].instanceUid, second);
    EXPECT_NE(store.Dataset("", orphan), nullptr);

    const FilmBoxFormat& a = *store.Dataset("", first)->filmBoxFormat();
    EXPECT_EQ(
        std::tie(a.FormatCols, a.FormatRows, a.r_c, a.FilmSize, a.decoded),
        std::make_tuple(std::int16_t{2}, std::int16_t{2}, std::string(), std::string("14INX17IN"), true));
    const FilmBoxFormat& b = *store.Dataset("", second)->filmBoxFormat();
    EXPECT_EQ(std::tie(b.FormatCols, b.FormatRows, b.r_c, b.FilmSize),
              std::make_tuple(std::int16_t{1}, std::int16_t{2}, std::string("COL"), std::string("8INX10IN")));
    // The service-wide values are those of the latest film box made.
    EXPECT_EQ(std::tie(film.FilmSize, film.FormatCols, film.FormatRows, film.r_c),
              std::make_tuple(std::string("14INX17IN"), std::int16_t{1}, std::int16_t{1}, std::string()));
}

std::unique_ptr<DcmDataset> imageSet(Uint16 rows, Uint16 columns, std::size_t pixelBytes)
{
    auto* item = new DcmItem;
    item->putAndInsertUint16(DCM_Rows, rows);
    item->putAndInsertUint16(DCM_Columns, columns);
    item->putAndInsertUint16(DCM_SamplesPerPixel, 1);
    item->putAndInsertUint16(DCM_BitsAllocated, 16);
    std::vector<Uint8> pixels(pixelBytes, 7);
    item->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
    auto data = std::make_unique<DcmDataset>();
    data->insertSequenceItem(DCM_BasicGrayscaleImageSequence, item);
    return data;
}

TEST_F(HandlerFixture, NSetCopiesTheImageIntoTheImageBoxUnlessItsPixelsCannotBeThere)
{
    const std::string session = createSession();
    const PrintObject* box =
        store.Dataset("", createFilmBox("STANDARD\\1,3", session).affectedSopInstanceUid);
    const std::vector<PrintObject*> cells = store.children(*box);
    ASSERT_EQ(cells.size(), 3u);

    struct Case {
        Uint16 rows, columns;
        std::size_t bytes;
        bool kept;
    };
    const Case cases[] = {{4, 4, 32, true}, {20000, 20000, 64, false}, {512, 512, 1000, false}};
    for (std::size_t i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        const std::size_t from = log.lines.size();
        send(command::nSet, sop::basicGrayscaleImageBox, cells[i]->sopInstanceUid(),
             imageSet(c.rows, c.columns, c.bytes));
        DcmSequenceOfItems* images = nullptr;
        const bool kept =
            cells[i]->attributes().findAndGetSequence(DCM_BasicGrayscaleImageSequence, images).good();
        EXPECT_EQ(kept, c.kept) << c.rows << "x" << c.columns;
        EXPECT_EQ(log.lines.size() - from, c.kept ? 0u : 1u) << c.rows << "x" << c.columns;
    }
    EXPECT_TRUE(log.contains("Image box " + cells[1]->sopInstanceUid() +
                             ": image 20000x20000 is larger than 67108864 pixels: image sequence dropped"));
    EXPECT_TRUE(log.contains(
        "Image box " + cells[2]->sopInstanceUid() +
        ": image 512x512 needs 524288 bytes of pixel data, 1000 received: image sequence dropped"));
}

TEST_F(HandlerFixture, NCreateOfAnyClassDropsAnImageThatCannotBeThere)
{
    // An N-ACTION naming such an object prints it as a film box whose cells
    // may name the object itself, so no class may keep an unchecked image.
    for (const char* cls : {sop::basicGrayscaleImageBox, sop::basicColorImageBox, sop::presentationLut,
                            "1.2.3.4.5", sop::basicFilmSession}) {
        const std::size_t from = log.lines.size();
        NormalisedResponse response = send(command::nCreate, cls, "", imageSet(20000, 20000, 64));
        const PrintObject* object = store.Dataset("", response.affectedSopInstanceUid);
        ASSERT_NE(object, nullptr) << cls;
        EXPECT_FALSE(const_cast<DcmDataset&>(object->attributes()).tagExists(DCM_BasicGrayscaleImageSequence))
            << cls;
        EXPECT_EQ(logSince(from),
                  (std::vector<std::string>{
                      "N-CREATE{",
                      "Image box " + response.affectedSopInstanceUid +
                          ": image 20000x20000 is larger than 67108864 pixels: image sequence dropped",
                      "SendData 0}"}))
            << cls;
    }
}

using RequestHandlerDeathTest = HandlerFixture;

TEST_F(RequestHandlerDeathTest, ARequestFromAnotherThreadStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(testing::onAnotherThread([this] { createSession(); }),
                 std::string("RequestHandler::handle ") + testing::offOwnerThread);
}

}  // namespace
}  // namespace vantorel::print_service
