#pragma once

#include "print_service/normalised_request.h"

#include <dcmtk/dcmnet/dimse.h>

#include <memory>
#include <optional>

namespace vantorel::print_service {

// The command set of a received DIMSE-N request as plain values; nullopt for
// C-commands and responses. The data set is received separately.
[[nodiscard]] std::optional<NormalisedRequest> decodeRequest(const T_DIMSE_Message& message);

// Frees what DCMTK allocated while parsing a received command (the Attribute
// Identifier List of an N-GET), which the caller owns. The service answers an
// N-GET with the whole object, so the list is never read.
void releaseCommand(T_DIMSE_Message& message);

// The response message for `request` carrying `response` (status, affected
// SOP class and instance, whether a data set follows).
T_DIMSE_Message encodeResponse(const NormalisedRequest& request, const NormalisedResponse& response);

// The status detail that travels in the response's command set: the Error
// Comment (0000,0902), cut to its 64 characters of the default repertoire;
// null when the response has none.
std::unique_ptr<DcmDataset> encodeStatusDetail(const NormalisedResponse& response);

}  // namespace vantorel::print_service
