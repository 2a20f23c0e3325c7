#pragma once

#include "print_service/dcmtk/watched_connection.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

namespace vantorel::print_service {

// Connections that have been accepted but whose association request has not
// been read yet, in the order they were accepted. Each is read on its own
// thread; this list lets the accepting side cut the ones that take too long
// or crowd out newer ones. Any thread.
class PendingConnections {
public:
    enum class Outcome {
        Read,      // still pending when its request was read
        TooSlow,   // cut: no complete request within the time allowed
        Crowded,   // cut: the oldest when too many were pending
        Stopping,  // cut: its port or the service was closing
    };

    void add(std::shared_ptr<SocketGuard> guard, std::uint64_t acceptor);

    // Takes the connection off the list and says whether it was cut.
    Outcome remove(const std::shared_ptr<SocketGuard>& guard);

    // Connections pending and not cut.
    std::size_t waiting() const;

    // Cuts the connections pending longer than `limit`.
    void cutOlderThan(std::chrono::steady_clock::duration limit);

    // Cuts the oldest connections until fewer than `bound` are waiting, so
    // that one more fits.
    void makeRoomBelow(std::size_t bound);

    // Cuts every connection accepted on `acceptor`.
    void cutAllOf(std::uint64_t acceptor);

private:
    struct Entry {
        std::shared_ptr<SocketGuard> guard;
        std::uint64_t acceptor = 0;
        Outcome outcome = Outcome::Read;
    };

    void cut(Entry& entry, Outcome why);

    mutable std::mutex mutex_;
    std::list<Entry> entries_;
};

}  // namespace vantorel::print_service
