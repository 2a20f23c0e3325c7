#pragma once

#include "print_service/dcmtk/pending_connections.h"
#include "print_service/port_opener.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct T_ASC_Association;
struct T_ASC_Network;

namespace vantorel::print_service {

class MainThreadDispatcher;
class ServiceEvents;

// What a hostile or broken peer may cost the service.
struct ServerLimits {
    int maxAssociations = 16;  // open at once; the next is refused
    int maxPending = 32;       // connections still sending their association request; the oldest is dropped
    int acseTimeoutSeconds = 10;   // whole association request, release
    int dimseTimeoutSeconds = 60;  // longest wait for the next part of a message
    int idleTimeoutSeconds = 600;  // an association that sends nothing this long is aborted
    unsigned long maxDataSetBytes = 256UL * 1024 * 1024;  // one received data set
    long maxPduBytes = 65536;                             // receive PDU size offered to peers
    std::size_t maxObjects = 1000000;  // print objects stored; a further N-CREATE aborts its association
    std::uint64_t maxPixelBytes = 2ULL * 1024 * 1024 * 1024;  // pixel data held for all associations together
};

// The DICOM network side over DCMTK. One thread per listening port only
// waits for connections; each connection gets its own thread, which accepts
// it, reads its association request, and then serves the association: it
// receives the requests, hands each event to the main thread through the
// dispatcher, waits for the answer and sends it. C-ECHO is answered here.
// A peer that is slow to send its association request therefore holds up
// nobody else; it is cut off after the ACSE time-out, or earlier when more
// connections than `maxPending` are waiting (the oldest goes).
class AssociationServer final : public PortOpener {
public:
    AssociationServer(MainThreadDispatcher& dispatcher, ServiceEvents& events, ServerLimits limits = {});
    ~AssociationServer() override;

    // Opens `port` on all interfaces; once it is open, the previous port stops
    // accepting (its open associations go on). False when the port cannot be
    // opened; the previous port then keeps listening.
    [[nodiscard]] bool Listen(std::int32_t port) override;

    // Stops accepting, aborts the open associations and waits for every
    // network thread. Call after the dispatcher is closed.
    void stop();

    // Listening threads still running: the current port's and those of ports
    // left moments ago that have not let go yet.
    int listeningThreads();

private:
    struct Acceptor;
    struct Connection;
    struct AcceptTicket;

    void acceptLoop(const std::shared_ptr<Acceptor>& acceptor);
    void retire(Acceptor& acceptor);
    void releaseRetiredAcceptorsOn(std::int32_t port);
    void startConnection(const std::shared_ptr<Acceptor>& acceptor);
    void serveConnection(const std::shared_ptr<Acceptor>& acceptor,
                         const std::shared_ptr<AcceptTicket>& ticket, std::uint64_t id);
    void refuse(T_ASC_Association* association, const std::string& why);
    [[nodiscard]] bool reserveAssociation();
    void onAccepted(const std::shared_ptr<SocketGuard>& guard);
    void reapFinished();
    void log(const std::string& line);

    MainThreadDispatcher& dispatcher_;
    ServiceEvents& events_;
    ServerLimits limits_;
    PendingConnections pending_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> open_{0};
    std::atomic<std::uint64_t> nextId_{1};
    std::string lastListenFailure_;  // main thread: the last Listen failure logged
    std::mutex mutex_;               // guards acceptors_ and connections_
    std::list<std::shared_ptr<Acceptor>> acceptors_;
    std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace vantorel::print_service
