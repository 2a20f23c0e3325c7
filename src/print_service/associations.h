#pragma once

#include "print_service/normalised_request.h"
#include "print_service/print_object.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace vantorel::console {
class RunLog;
}

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

// Per-association bookkeeping: every association gets an empty list of its
// film sessions when requested; when it closes, those sessions are removed
// from the store with their film boxes and image boxes.
class Associations final : public ServiceEvents {
public:
    // At most `maxObjects` print objects are kept: an N-CREATE that finds the
    // store that full is not answered (the association is then aborted), so a
    // peer cannot fill the memory with film boxes of 32767 image boxes.
    static constexpr std::size_t defaultMaxObjects = 1000000;

    Associations(PrintObjectStore& store, RequestHandler& handler, console::RunLog& log,
                 std::size_t maxObjects = defaultMaxObjects);

    void associationRequested(const AssociationInfo& association) override;
    NormalisedResponse normalisedRequest(const AssociationInfo& association,
                                         NormalisedRequest& request) override;
    void associationClosed(std::uint64_t associationId) override;
    void diagnostic(const std::string& line) override;

    std::size_t openCount() const { return filmSessions_.size(); }

private:
    PrintObjectStore& store_;
    RequestHandler& handler_;
    console::RunLog& log_;
    std::size_t maxObjects_;
    std::map<std::uint64_t, AssociationFilmSessions> filmSessions_;
};

}  // namespace vantorel::print_service
