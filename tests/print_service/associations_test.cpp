#include "print_service/associations.h"

#include "console/settings_model.h"
#include "print_service/logging_print_job.h"
#include "print_service/print_object_store.h"
#include "print_service/printer_object.h"
#include "print_service/request_handler.h"
#include "print_service/sop_uids.h"
#include "support/memory_run_log.h"

#include <dcmtk/dcmdata/dcdeftag.h>

#include <gtest/gtest.h>

namespace vantorel::print_service {
namespace {

struct AssociationsFixture : ::testing::Test {
    AssociationsFixture()
    {
        MakePrinterdataset(store, "ZQ", true, "DCMTK");
        store.setRemovalObserver([this](const std::string& uid) { removed.push_back(uid); });
    }

    std::string create(const AssociationInfo& association, const char* cls, const std::string& session = {})
    {
        NormalisedRequest request;
        request.commandField = command::nCreate;
        request.affectedSopClassUid = cls;
        request.dataSet = std::make_unique<DcmDataset>();
        if (!session.empty()) {
            request.dataSet->putAndInsertString(DCM_ImageDisplayFormat, "STANDARD\\1,2");
            auto* item = new DcmItem;
            item->putAndInsertString(DCM_ReferencedSOPInstanceUID, session.c_str());
            request.dataSet->insertSequenceItem(DCM_ReferencedFilmSessionSequence, item);
        }
        return associations.normalisedRequest(association, request).affectedSopInstanceUid;
    }

    void remove(const AssociationInfo& association, const std::string& uid)
    {
        NormalisedRequest request;
        request.commandField = command::nDelete;
        request.requestedSopInstanceUid = uid;
        associations.normalisedRequest(association, request);
    }

    PrintObjectStore store;
    FilmParameters film;
    console::Settings settings;
    testing::MemoryRunLog log;
    LoggingPrintJob printJob{log};
    RequestHandler handler{store, film, settings, printJob, log};
    Associations associations{store, handler, log};
    std::vector<std::string> removed;
};

TEST_F(AssociationsFixture, ClosingRemovesOnlyThatAssociationsSessionsWithTheirChildren)
{
    const AssociationInfo one{1, "A", "ZQ", "10.0.0.1", sop::grayscalePrintMeta};
    const AssociationInfo two{2, "B", "ZQ", "10.0.0.2", sop::grayscalePrintMeta};
    associations.associationRequested(one);
    associations.associationRequested(two);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"收到请求：AssociationRequest2", "收到请求：AssociationRequest2"}));

    const std::string first = create(one, sop::basicFilmSession);
    const std::string box = create(one, sop::basicFilmBox, first);
    const std::string second = create(one, sop::basicFilmSession);
    const std::string other = create(two, sop::basicFilmSession);
    const std::string orphan = create(one, sop::basicFilmBox, "no-such-session");
    const std::string lut = create(one, sop::presentationLut);
    remove(one, second);  // deleted already: passed over at the close
    removed.clear();

    associations.associationClosed(1);
    ASSERT_EQ(removed.size(), 4u);
    EXPECT_EQ(removed[2], box);
    EXPECT_EQ(removed[3], first);
    for (const std::string& stays : {std::string(sop::printerInstance), other, orphan, lut})
        EXPECT_NE(store.Dataset({}, stays), nullptr) << stays;
    EXPECT_EQ(associations.openCount(), 1u);

    associations.associationClosed(1);  // a second close changes nothing
    EXPECT_EQ(removed.size(), 4u);
}

TEST(AssociationsLimit, AFullStoreRefusesNCreateButServesTheRest)
{
    PrintObjectStore store;
    FilmParameters film;
    console::Settings settings;
    testing::MemoryRunLog log;
    LoggingPrintJob printJob{log};
    RequestHandler handler{store, film, settings, printJob, log};
    Associations associations{store, handler, log, 3};
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

}  // namespace
}  // namespace vantorel::print_service
