#pragma once

#include "base/fwd.h"
#include "base/owner_thread.h"
#include "print_service/normalised_request.h"
#include "print_service/pixel_budget.h"
#include "print_service/print_object.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace vantorel::print_service {

class PrintObjectStore;
class RequestHandler;

// The DICOM events as the main thread receives them, one at a time.
class ServiceEvents {
public:
    virtual ~ServiceEvents() = default;
    virtual void associationRequested(const AssociationInfo& association) = 0;
    virtual NormalisedResponse normalisedRequest(const AssociationInfo& association,
                                                 NormalisedRequest& request) = 0;
    virtual void associationClosed(std::uint64_t associationId) = 0;
    // A line of the network side about a peer (refused, timed out, bad data).
    virtual void diagnostic(const std::string& line) = 0;
};

// What the print objects of all associations together may hold.
struct StoreLimits {
    // An N-CREATE that finds this many objects stored is not answered (the
    // association is then aborted), so a peer cannot fill the memory with
    // film boxes of 32767 image boxes.
    std::size_t maxObjects = 1000000;
    // Pixel data of all objects together; an N-SET that would take it further
    // is refused with 0xC605, an N-CREATE with 0x0213.
    std::uint64_t maxPixelBytes = 2ULL * 1024 * 1024 * 1024;
};

// Per-association bookkeeping: every association gets an empty list of its
// film sessions when requested; each of its requests is handled in its own
// scope of the store (it sees and changes only the objects it created, and
// the server's Printer); when it closes, every object it created is removed.
class Associations final : public ServiceEvents {
public:
    Associations(PrintObjectStore& store, RequestHandler& handler, base::RunLog& log,
                 StoreLimits limits = {});

    void associationRequested(const AssociationInfo& association) override;
    NormalisedResponse normalisedRequest(const AssociationInfo& association,
                                         NormalisedRequest& request) override;
    void associationClosed(std::uint64_t associationId) override;
    void diagnostic(const std::string& line) override;

    std::size_t openCount() const { return filmSessions_.size(); }
    std::uint64_t pixelBytesHeld() const { return pixels_.held(); }
    // Objects the association created and still has.
    std::size_t objectsOf(std::uint64_t associationId) const;

private:
    base::OwnerThread owner_;  // main thread only
    [[nodiscard]] bool withinPixelBudget(const NormalisedRequest& request, NormalisedResponse& refusal);
    void noteChanges(const AssociationInfo& association, const NormalisedRequest& request,
                     const NormalisedResponse& response);

    PrintObjectStore& store_;
    RequestHandler& handler_;
    base::RunLog& log_;
    StoreLimits limits_;
    std::map<std::uint64_t, AssociationFilmSessions> filmSessions_;
    PixelBudget pixels_;
};

}  // namespace vantorel::print_service
