#include "print_service/dcmtk/dimse_bridge.h"

#include <dcmtk/dcmdata/dcdeftag.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace vantorel::print_service {
namespace {

// DCMTK's command parser mallocs the Attribute Identifier List of every N-GET
// that carries one (modalities ask the Printer for its status this way) and
// leaves freeing it to the receiver.
TEST(ReleaseCommand, FreesTheAttributeListOfAReceivedNGetOnly)
{
    T_DIMSE_Message get;
    std::memset(&get, 0, sizeof(get));
    get.CommandField = DIMSE_N_GET_RQ;
    get.msg.NGetRQ.ListCount = 2;
    get.msg.NGetRQ.AttributeIdentifierList = static_cast<DIC_US*>(std::malloc(2 * sizeof(DIC_US) + 1));
    releaseCommand(get);
    EXPECT_EQ(get.msg.NGetRQ.AttributeIdentifierList, nullptr);
    EXPECT_EQ(get.msg.NGetRQ.ListCount, 0);
    releaseCommand(get);  // a second release is harmless

    T_DIMSE_Message action;
    std::memset(&action, 0, sizeof(action));
    action.CommandField = DIMSE_N_ACTION_RQ;
    action.msg.NActionRQ.ActionTypeID = 1;
    releaseCommand(action);
    EXPECT_EQ(action.msg.NActionRQ.ActionTypeID, 1);
}

// The Error Comment travels in the command set, which has no character set of
// its own: LO of the default repertoire, at most 64 characters.
TEST(EncodeStatusDetail, ErrorCommentIsCutToSixtyFourPlainCharacters)
{
    struct Case {
        std::string comment;
        std::string sent;
    };
    const Case cases[] = {
        {"Film not printed: No space left on device", "Film not printed: No space left on device"},
        {std::string(70, 'x'), std::string(64, 'x')},
        {"display format ROW\\3,3: \xE7\xA3\x81\xE7\x9B\x98", "display format ROW?3,3: ??????"},
    };
    for (const auto& c : cases) {
        NormalisedResponse response;
        response.status = 0x0110;
        response.errorComment = c.comment;
        const auto detail = encodeStatusDetail(response);
        ASSERT_TRUE(detail) << c.comment;
        OFString sent;
        ASSERT_TRUE(detail->findAndGetOFString(DCM_ErrorComment, sent).good()) << c.comment;
        EXPECT_EQ(sent.c_str(), c.sent) << c.comment;
    }
    EXPECT_FALSE(encodeStatusDetail(NormalisedResponse{}));
}

}  // namespace
}  // namespace vantorel::print_service
