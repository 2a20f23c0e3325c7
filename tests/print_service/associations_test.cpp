#include "print_service/associations.h"

#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/request_handler.h"
#include "print_service/sop_uids.h"
#include "settings/settings_model.h"
#include "support/logging_print_job.h"
#include "support/memory_run_log.h"
#include "support/other_thread.h"

#include <dcmtk/dcmdata/dcdeftag.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace vantorel::print_service {
namespace {

// An image sequence of `bytes` bytes of 8-bit pixel data, one row per 100 bytes.
std::unique_ptr<DcmDataset> imageOf(std::size_t bytes)
{
    auto* item = new DcmItem;
    item->putAndInsertUint16(DCM_Rows, static_cast<Uint16>(bytes / 100));
    item->putAndInsertUint16(DCM_Columns, 100);
    item->putAndInsertUint16(DCM_BitsAllocated, 8);
    std::vector<Uint8> pixels(bytes, 7);
    item->putAndInsertUint8Array(DCM_PixelData, pixels.data(), pixels.size());
    auto data = std::make_unique<DcmDataset>();
    data->insertSequenceItem(DCM_BasicGrayscaleImageSequence, item);
    return data;
}

struct AssociationsFixture : ::testing::Test {
    AssociationsFixture()
    {
        MakePrinterdataset(store, "ZQ", true, "DCMTK");
        store.addRemovalObserver([this](ObjectScope, const std::string& uid) { removed.push_back(uid); });
        associations.associationRequested(one);
        associations.associationRequested(two);
    }

    NormalisedResponse send(const AssociationInfo& association, std::uint16_t field, const std::string& cls,
                            const std::string& uid, std::unique_ptr<DcmDataset> data)
    {
        NormalisedRequest request;
        request.commandField = field;
        (field == command::nCreate ? request.affectedSopClassUid : request.requestedSopClassUid) = cls;
        (field == command::nCreate ? request.affectedSopInstanceUid : request.requestedSopInstanceUid) = uid;
        request.dataSet = std::move(data);
        return associations.normalisedRequest(association, request);
    }

    // A new object; a film box STANDARD\1,2 naming `session` (and `lut`, when given).
    std::string create(const AssociationInfo& association, const char* cls, const std::string& session = {},
                       const std::string& lut = {}, const std::string& uid = {})
    {
        auto data = std::make_unique<DcmDataset>();
        auto reference = [&](const DcmTagKey& sequence, const std::string& uid) {
            auto* item = new DcmItem;
            item->putAndInsertString(DCM_ReferencedSOPInstanceUID, uid.c_str());
            data->insertSequenceItem(sequence, item);
        };
        if (!session.empty()) {
            data->putAndInsertString(DCM_ImageDisplayFormat, "STANDARD\\1,2");
            reference(DCM_ReferencedFilmSessionSequence, session);
        }
        if (!lut.empty())
            reference(DCM_ReferencedPresentationLUTSequence, lut);
        return send(association, command::nCreate, cls, uid, std::move(data)).affectedSopInstanceUid;
    }

    std::vector<std::string> imageBoxesOf(const AssociationInfo& association, const std::string& filmBox)
    {
        std::vector<std::string> uids;
        for (const ObjectRef& child : store.find(association.id, filmBox)->childObjects())
            uids.push_back(child.instanceUid);
        return uids;
    }

    bool stored(const AssociationInfo& association, const std::string& uid) const
    {
        return store.find(association.id, uid) != nullptr;
    }

    const AssociationInfo one{1, "A", "ZQ", "10.0.0.1", sop::grayscalePrintMeta};
    const AssociationInfo two{2, "B", "ZQ", "10.0.0.2", sop::grayscalePrintMeta};
    PrintObjectStore store;
    FilmParameters film;
    settings::Settings settings;
    testing::MemoryRunLog log;
    testing::LoggingPrintJob printJob{log};
    RequestHandler handler{store, film, settings, settings, printJob, log};
    Associations associations{store, handler, log, StoreLimits{1000, 3000}};
    std::vector<std::string> removed;
};

TEST_F(AssociationsFixture, ClosingRemovesEverythingTheAssociationCreatedNewestFirst)
{
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"收到请求：AssociationRequest2", "收到请求：AssociationRequest2"}));
    const std::string session = create(one, sop::basicFilmSession);
    const std::string box = create(one, sop::basicFilmBox, session);
    const std::string deleted = create(one, sop::basicFilmSession);
    const std::string other = create(two, sop::basicFilmSession);
    const std::string orphan = create(one, sop::basicFilmBox, "no-such-session");
    const std::string lut = create(one, sop::presentationLut);
    send(one, command::nDelete, sop::basicFilmSession, deleted, nullptr);  // passed over at the close
    const std::vector<std::string> boxImages = imageBoxesOf(one, box),
                                   orphanImages = imageBoxesOf(one, orphan);
    removed.clear();

    associations.associationClosed(1);
    EXPECT_EQ(removed,
              (std::vector<std::string>{lut, orphanImages[1], orphanImages[0], orphan, boxImages[1],
                                        boxImages[0], box, session}));
    std::vector<std::string> left{other, sop::printerInstance};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(store.instanceUids(), left);
    EXPECT_EQ(associations.openCount(), 1u);

    associations.associationClosed(1);  // a second close changes nothing
    EXPECT_EQ(removed.size(), 8u);
}

// Print objects belong to the association that created them: another one
// cannot see, change, print or remove them, even knowing their UIDs, and
// equal UIDs of two associations are two objects.
TEST_F(AssociationsFixture, AnAssociationSeesOnlyItsOwnObjects)
{
    const std::string session = create(one, sop::basicFilmSession, {}, {}, "1.2.3.4");
    const std::string box = create(one, sop::basicFilmBox, session);
    const std::vector<std::string> images = imageBoxesOf(one, box);
    ASSERT_EQ(create(two, sop::basicFilmSession, {}, {}, "1.2.3.4"), "1.2.3.4");
    const std::string theirBox = create(two, sop::basicFilmBox, session);  // joins two's own "1.2.3.4"
    ASSERT_NE(store.find(one.id, session), store.find(two.id, session));
    EXPECT_EQ(store.find(one.id, session)->childObjects().size(), 1u);
    ASSERT_EQ(store.find(two.id, session)->childObjects().size(), 1u);
    EXPECT_EQ(store.find(two.id, session)->childObjects()[0].instanceUid, theirBox);

    for (const std::string& uid : {box, images[0], images[1]}) {
        auto change = std::make_unique<DcmDataset>();
        change->putAndInsertString(DCM_FilmOrientation, "LANDSCAPE");
        EXPECT_EQ(send(two, command::nGet, sop::basicFilmBox, uid, nullptr).status, 0x0112) << uid;
        EXPECT_EQ(send(two, command::nSet, sop::basicFilmBox, uid, std::move(change)).status, 0x0112) << uid;
        EXPECT_EQ(send(two, command::nDelete, sop::basicFilmBox, uid, nullptr).status, 0x0112) << uid;
        EXPECT_TRUE(stored(one, uid)) << uid;
    }
    // (An N-ACTION is looked up by the print job driver in the same scope:
    // the print service's end-to-end tests print through it.)
    EXPECT_FALSE(store.find(one.id, box)->attributes().tagExists(DCM_FilmOrientation));

    associations.associationClosed(1);
    EXPECT_EQ(store.sizeOf(one.id), 0u);
    EXPECT_TRUE(stored(two, session));
    EXPECT_TRUE(stored(two, theirBox));
    associations.associationClosed(2);
    EXPECT_EQ(store.instanceUids(), (std::vector<std::string>{sop::printerInstance}));
}

TEST_F(AssociationsFixture, PixelDataPastTheBudgetIsRefusedUntilAClosedAssociationFreesIt)
{
    const std::string box = create(one, sop::basicFilmBox, create(one, sop::basicFilmSession));
    const std::vector<std::string> cells = imageBoxesOf(one, box);
    struct Step {
        std::uint16_t field;
        std::string uid;
        std::size_t bytes;
        std::uint16_t status;
    };
    const Step steps[] = {
        {command::nSet, cells[0], 2000, 0x0000},
        {command::nSet, cells[1], 2000, 0xC605},  // 4000 bytes would be held
        {command::nSet, cells[0], 2500, 0x0000},  // replaces the 2000 it held
        {command::nSet, cells[1], 500, 0x0000},
        {command::nCreate, "", 100, 0x0213},  // any object with pixel data counts
    };
    for (const Step& step : steps) {
        const NormalisedResponse response =
            send(one, step.field, sop::basicGrayscaleImageBox, step.uid, imageOf(step.bytes));
        EXPECT_TRUE(response.answered) << step.uid << " " << step.bytes;
        EXPECT_EQ(response.status, step.status) << step.uid << " " << step.bytes;
    }
    EXPECT_TRUE(log.contains("N-SET " + cells[1] +
                             " refused: 2000 bytes of pixel data would take the 2000 held "
                             "past the limit of 3000"));
    EXPECT_EQ(associations.pixelBytesHeld(), 3000u);

    associations.associationClosed(1);
    EXPECT_EQ(associations.pixelBytesHeld(), 0u);
    const std::string next = create(two, sop::basicFilmBox, create(two, sop::basicFilmSession));
    EXPECT_EQ(send(two, command::nSet, sop::basicGrayscaleImageBox, imageBoxesOf(two, next)[0], imageOf(3000))
                  .status,
              0);
}

TEST(AssociationsLimit, AFullStoreRefusesNCreateButServesTheRest)
{
    PrintObjectStore store;
    FilmParameters film;
    settings::Settings settings;
    testing::MemoryRunLog log;
    testing::LoggingPrintJob printJob{log};
    RequestHandler handler{store, film, settings, settings, printJob, log};
    Associations associations{store, handler, log, StoreLimits{3}};
    const AssociationInfo association{1, "A", "ZQ", "10.0.0.1", sop::grayscalePrintMeta};
    associations.associationRequested(association);

    auto send = [&](std::uint16_t field, const char* format) {
        NormalisedRequest request;
        request.commandField = field;
        request.affectedSopClassUid = sop::basicFilmBox;
        request.requestedSopInstanceUid = "x";
        request.dataSet = std::make_unique<DcmDataset>();
        request.dataSet->putAndInsertString(DCM_ImageDisplayFormat, format);
        return associations.normalisedRequest(association, request);
    };
    EXPECT_TRUE(send(command::nCreate, "STANDARD\\1,2").answered);  // 3 objects now
    EXPECT_FALSE(send(command::nCreate, "STANDARD\\1,1").answered);
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(log.lines.back(), "N-CREATE 1.2.840.10008.5.1.1.2 refused: 3 print objects stored");
    EXPECT_TRUE(send(command::nGet, "").answered);
    EXPECT_TRUE(send(command::nDelete, "").answered);
}

using AssociationsDeathTest = AssociationsFixture;

TEST_F(AssociationsDeathTest, EventsFromAnotherThreadStopTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(testing::onAnotherThread([this] { associations.associationClosed(1); }),
                 std::string("Associations ") + testing::offOwnerThread);
}

}  // namespace
}  // namespace vantorel::print_service
