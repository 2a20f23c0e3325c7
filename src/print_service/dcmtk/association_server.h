#pragma once

#include "print_service/listener.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct T_ASC_Network;

namespace vantorel::print_service {

class MainThreadDispatcher;
class ServiceEvents;

// What a hostile or broken peer may cost the service.
struct ServerLimits {
    int maxAssociations = 16;          // open at once; the next is refused
    int acseTimeoutSeconds = 10;       // association request, release
    int dimseTimeoutSeconds = 60;      // longest wait for the next part of a message
    int idleTimeoutSeconds = 600;      // an association that sends nothing this long is aborted
    unsigned long maxDataSetBytes = 256UL * 1024 * 1024;  // one received data set
    long maxPduBytes = 65536;          // receive PDU size offered to peers
    std::size_t maxObjects = 1000000;  // print objects stored; a further N-CREATE aborts its association
};

// The DICOM network side over DCMTK: one thread accepts associations on the
// listening port, each association gets a thread that receives its requests,
// hands each event to the main thread through the dispatcher, waits for the
// answer and sends it. C-ECHO is answered here.
class AssociationServer final : public NetworkListener {
public:
    AssociationServer(MainThreadDispatcher& dispatcher, ServiceEvents& events,
                      ServerLimits limits = {});
    ~AssociationServer() override;

    // Opens `port` on all interfaces; once it is open, the previous port stops
    // accepting (its open associations go on). False when the port cannot be
    // opened; the previous port then keeps listening.
    bool Listen(std::int32_t port) override;

    // Stops accepting, aborts the open associations and waits for every
    // network thread. Call after the dispatcher is closed.
    void stop();

    int openAssociations() const { return open_.load(); }

private:
    struct Acceptor;
    struct Worker;

    void acceptLoop(Acceptor& acceptor);
    void releaseRetiredAcceptorsOn(std::int32_t port);
    void acceptOne(Acceptor& acceptor);
    void reapFinishedWorkers();
    void log(const std::string& line);

    MainThreadDispatcher& dispatcher_;
    ServiceEvents& events_;
    ServerLimits limits_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> open_{0};
    std::atomic<std::uint64_t> nextId_{1};
    std::mutex mutex_;  // guards acceptors_ and workers_
    std::list<std::unique_ptr<Acceptor>> acceptors_;
    std::list<std::unique_ptr<Worker>> workers_;
};

}  // namespace vantorel::print_service
