#pragma once

#include <dcmtk/dcmnet/dcmlayer.h>
#include <dcmtk/dcmnet/dcmtrans.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

namespace vantorel::print_service {

// The socket of one accepted connection, which another thread may cut (shut
// down) to end a read that waits on it. The guard knows when the connection
// has closed its socket, so a cut never reaches a descriptor that the system
// has meanwhile handed to another connection.
class SocketGuard {
public:
    explicit SocketGuard(int socket);

    // Shuts the socket down for reading and writing unless it is closed
    // already: a read blocked on it returns at once. True when it was cut now.
    bool cut();
    bool wasCut() const;

    // Called by the connection just before it closes the socket.
    void markClosed();

    std::chrono::steady_clock::time_point acceptedAt() const { return acceptedAt_; }

private:
    mutable std::mutex mutex_;
    int socket_;
    bool closed_ = false;
    bool cut_ = false;
    const std::chrono::steady_clock::time_point acceptedAt_;
};

// A plain TCP connection whose socket is watched by a SocketGuard.
class WatchedConnection final : public DcmTCPConnection {
public:
    WatchedConnection(DcmNativeSocketType socket, std::shared_ptr<SocketGuard> guard);
    ~WatchedConnection() override;

    void close() override;
    void closeTransportConnection() override;

private:
    std::shared_ptr<SocketGuard> guard_;
};

// The transport layer of the listening network: every connection accepted on
// it is a WatchedConnection, reported to `accepted` on the thread that
// accepted it, before anything is read from it. Secure connections are not
// offered.
class WatchedTransportLayer final : public DcmTransportLayer {
public:
    using Accepted = std::function<void(const std::shared_ptr<SocketGuard>&)>;

    explicit WatchedTransportLayer(Accepted accepted);

    DcmTransportConnection* createConnection(DcmNativeSocketType socket, OFBool useSecureLayer) override;

private:
    Accepted accepted_;
};

}  // namespace vantorel::print_service
