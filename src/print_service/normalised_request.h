#pragma once

#include <dcmtk/dcmdata/dcdatset.h>

#include <cstdint>
#include <memory>
#include <string>

namespace vantorel::print_service {

namespace command {
inline constexpr std::uint16_t nGet = 0x0110;
inline constexpr std::uint16_t nSet = 0x0120;
inline constexpr std::uint16_t nAction = 0x0130;
inline constexpr std::uint16_t nCreate = 0x0140;
inline constexpr std::uint16_t nDelete = 0x0150;
inline constexpr std::uint16_t nEventReport = 0x0100;
}  // namespace command

// One received DIMSE-N request, decoded from its command set. Values are
// empty when the command set does not carry them.
struct NormalisedRequest {
    std::uint16_t commandField = 0;
    std::uint16_t messageId = 0;
    std::string requestedSopClassUid;     // (0000,0003)
    std::string requestedSopInstanceUid;  // (0000,1001)
    std::string affectedSopClassUid;      // (0000,0002)
    std::string affectedSopInstanceUid;   // (0000,1000)
    std::uint16_t actionTypeId = 0;       // (0000,1008), N-ACTION only
    std::unique_ptr<DcmDataset> dataSet;  // attribute list of N-CREATE, N-SET, N-ACTION; may be null
};

// The answer to one request. `answered` false: nothing is sent.
struct NormalisedResponse {
    bool answered = false;
    std::uint16_t status = 0;
    std::string errorComment;  // (0000,0902) of a failure or warning; empty: none
    std::string affectedSopClassUid;
    std::string affectedSopInstanceUid;
    std::unique_ptr<DcmDataset> dataSet;  // null: status only
};

// What the handler reads from the association a request came on.
struct AssociationInfo {
    std::uint64_t id = 0;
    std::string callingAeTitle;
    std::string calledAeTitle;
    std::string remoteIp;
    std::string firstAbstractSyntax;  // abstract syntax of the first presentation context
};

}  // namespace vantorel::print_service
