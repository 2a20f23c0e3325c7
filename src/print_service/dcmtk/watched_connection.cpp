#include "print_service/dcmtk/watched_connection.h"

#include <sys/socket.h>

namespace vantorel::print_service {

SocketGuard::SocketGuard(int socket) : socket_(socket), acceptedAt_(std::chrono::steady_clock::now()) {}

bool SocketGuard::cut()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_ || cut_)
        return false;
    ::shutdown(socket_, SHUT_RDWR);
    cut_ = true;
    return true;
}

bool SocketGuard::wasCut() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return cut_;
}

void SocketGuard::markClosed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
}

WatchedConnection::WatchedConnection(DcmNativeSocketType socket, std::shared_ptr<SocketGuard> guard)
    : DcmTCPConnection(socket), guard_(std::move(guard))
{}

WatchedConnection::~WatchedConnection()
{
    // The base destructor closes the socket again, without our override: mark
    // it closed first so that no cut can reach a reused descriptor.
    guard_->markClosed();
}

void WatchedConnection::close()
{
    guard_->markClosed();
    DcmTCPConnection::close();
}

void WatchedConnection::closeTransportConnection()
{
    guard_->markClosed();
    DcmTCPConnection::closeTransportConnection();
}

WatchedTransportLayer::WatchedTransportLayer(Accepted accepted) : accepted_(std::move(accepted)) {}

DcmTransportConnection* WatchedTransportLayer::createConnection(DcmNativeSocketType socket,
                                                                OFBool useSecureLayer)
{
    if (useSecureLayer)
        return nullptr;
    auto guard = std::make_shared<SocketGuard>(socket);
    auto* connection = new WatchedConnection(socket, guard);
    if (accepted_)
        accepted_(guard);
    return connection;
}

}  // namespace vantorel::print_service
