#include "print_service/dcmtk/dimse_bridge.h"

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

}  // namespace
}  // namespace vantorel::print_service
