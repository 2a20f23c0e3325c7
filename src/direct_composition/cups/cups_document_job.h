#pragma once

#include "base/result.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vantorel::direct_composition {

// Receives the document in pieces, in order; false when a piece was not taken.
using CupsDocumentSink = std::function<bool(const char* data, std::size_t size)>;

// Hands one PDF document to a CUPS queue as a job of its own (Create-Job, then
// Send-Document streamed as `writeDocument` produces it), titled `title`, with
// the job options given (name, value; "landscape" with an empty value is
// CUPS's own shorthand). `queue` may name an instance ("name/instance"): the
// job goes to the queue itself. Done when CUPS took the whole document, else
// a Failure saying why not in CUPS's own words; a job that was created but
// not completed is cancelled.
base::Result<void> printDocumentOnCups(const std::string& queue, const std::string& title,
                                       const std::vector<std::pair<std::string, std::string>>& options,
                                       const std::function<bool(const CupsDocumentSink&)>& writeDocument);

}  // namespace vantorel::direct_composition
