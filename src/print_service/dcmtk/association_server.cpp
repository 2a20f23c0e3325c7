#include "print_service/dcmtk/association_server.h"

#include "print_service/associations.h"
#include "print_service/dcmtk/association_worker.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dcmtrans.h>
#include <dcmtk/dcmnet/dul.h>

#include <fcntl.h>
#include <sys/socket.h>

#include <condition_variable>

namespace vantorel::print_service {

struct AssociationServer::Acceptor {
    std::uint64_t id = 0;
    T_ASC_Network* network = nullptr;
    std::int32_t port = 0;
    std::atomic<bool> retired{false};
    std::atomic<bool> finished{false};  // the network is dropped, the port let go
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    int reading = 0;  // connection threads that may still use `network`
};

struct AssociationServer::Connection {
    std::thread thread;
    std::atomic<bool> finished{false};
};

// Hands one waiting connection from the listening thread to the thread that
// accepts it. The listening thread waits until the connection is accepted
// (or was gone), so that it never starts two threads for one connection.
struct AssociationServer::AcceptTicket {
    std::uint64_t acceptor = 0;
    std::mutex mutex;
    std::condition_variable done;
    bool settled = false;
    std::shared_ptr<SocketGuard> guard;  // set once accepted

    void settle(const std::shared_ptr<SocketGuard>& accepted)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (settled)
            return;
        settled = true;
        guard = accepted;
        done.notify_all();
    }
    void waitSettled()
    {
        std::unique_lock<std::mutex> lock(mutex);
        done.wait(lock, [this] { return settled; });
    }
};

namespace {

// The ticket of the connection the current thread is accepting.
thread_local std::shared_ptr<void> acceptingTicket;

std::string text(PendingConnections::Outcome outcome, const ServerLimits& limits)
{
    switch (outcome) {
    case PendingConnections::Outcome::TooSlow:
        return "no complete association request within " + std::to_string(limits.acseTimeoutSeconds) + " s";
    case PendingConnections::Outcome::Crowded:
        return "dropped as the oldest of " + std::to_string(limits.maxPending) +
            " connections still sending their association request";
    case PendingConnections::Outcome::Stopping:
        return "the port was closed";
    case PendingConnections::Outcome::Read:
        break;
    }
    return {};
}

}  // namespace

AssociationServer::AssociationServer(MainThreadDispatcher& dispatcher, ServiceEvents& events,
                                     ServerLimits limits)
    : dispatcher_(dispatcher), events_(events), limits_(limits)
{
    // A peer that stops reading or writing mid-PDU cannot hold a thread longer.
    dcmSocketSendTimeout.set(limits_.dimseTimeoutSeconds);
    dcmSocketReceiveTimeout.set(limits_.dimseTimeoutSeconds);
    // The peer's address is logged as a number; a reverse name look-up could
    // keep a connection waiting for the resolver.
    dcmDisableGethostbyaddr.set(OFTrue);
}

AssociationServer::~AssociationServer()
{
    stop();
}

void AssociationServer::log(const std::string& line)
{
    dispatcher_.post([this, line] { events_.diagnostic(line); });
}

int AssociationServer::listeningThreads()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(acceptors_.size());
}

bool AssociationServer::Listen(std::int32_t port)
{
    if (port < 1 || port > 65535) {
        log("Listen " + std::to_string(port) + ": not a TCP port");
        return false;
    }
    reapFinished();
    releaseRetiredAcceptorsOn(port);
    T_ASC_Network* network = nullptr;
    OFCondition cond = ASC_initializeNetwork(NET_ACCEPTOR, port, limits_.acseTimeoutSeconds, &network);
    if (cond.bad()) {
        // A port retried every few seconds is logged once, not at every try.
        const std::string failure = "Listen " + std::to_string(port) + ": " + cond.text();
        if (failure != lastListenFailure_)
            log(failure);
        lastListenFailure_ = failure;
        if (network != nullptr)
            ASC_dropNetwork(&network);
        return false;
    }
    // Connections are accepted on their own threads once this one has seen
    // them waiting; one that has gone meanwhile must not leave its thread
    // blocked in accept().
    lastListenFailure_.clear();
    const int listening = DUL_networkSocket(network->network);
    fcntl(listening, F_SETFL, fcntl(listening, F_GETFL) | O_NONBLOCK);
    ASC_setTransportLayer(network,
                          new WatchedTransportLayer([this](const auto& guard) { onAccepted(guard); }), 1);

    auto acceptor = std::make_shared<Acceptor>();
    acceptor->id = nextId_++;
    acceptor->network = network;
    acceptor->port = port;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& previous : acceptors_)
            previous->retired = true;
        acceptors_.push_back(acceptor);
    }
    acceptor->thread = std::thread([this, acceptor] { acceptLoop(acceptor); });
    return true;
}

// A port left moments ago is still held by its retired acceptor until that
// thread's next one-second poll; going back to it waits for the thread to let go.
void AssociationServer::releaseRetiredAcceptorsOn(std::int32_t port)
{
    std::list<std::shared_ptr<Acceptor>> leaving;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = acceptors_.begin(); it != acceptors_.end();) {
            if ((*it)->retired && (*it)->port == port) {
                leaving.push_back(*it);
                it = acceptors_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& acceptor : leaving)
        if (acceptor->thread.joinable())
            acceptor->thread.join();
}

void AssociationServer::acceptLoop(const std::shared_ptr<Acceptor>& acceptor)
{
    while (!stopping_ && !acceptor->retired) {
        pending_.cutOlderThan(std::chrono::seconds(limits_.acseTimeoutSeconds));
        if (ASC_associationWaiting(acceptor->network, 1))
            startConnection(acceptor);
        reapFinished();
    }
    retire(*acceptor);
}

// Lets go of the port: the connections still reading their association
// request on this network are cut, and the network is dropped once no
// thread uses it any more.
void AssociationServer::retire(Acceptor& acceptor)
{
    std::unique_lock<std::mutex> lock(acceptor.mutex);
    while (acceptor.reading > 0) {
        pending_.cutAllOf(acceptor.id);
        acceptor.changed.wait_for(lock, std::chrono::milliseconds(100));
    }
    lock.unlock();
    ASC_dropNetwork(&acceptor.network);
    acceptor.finished = true;
}

void AssociationServer::startConnection(const std::shared_ptr<Acceptor>& acceptor)
{
    pending_.makeRoomBelow(static_cast<std::size_t>(limits_.maxPending));
    auto ticket = std::make_shared<AcceptTicket>();
    ticket->acceptor = acceptor->id;
    const std::uint64_t id = nextId_++;
    {
        std::lock_guard<std::mutex> lock(acceptor->mutex);
        ++acceptor->reading;
    }
    try {
        auto connection = std::make_unique<Connection>();
        Connection& started = *connection;
        std::lock_guard<std::mutex> lock(mutex_);
        started.thread = std::thread([this, acceptor, ticket, id, &started] {
            serveConnection(acceptor, ticket, id);
            started.finished = true;
        });
        connections_.push_back(std::move(connection));
    } catch (const std::exception& error) {
        log("Connection on port " + std::to_string(acceptor->port) + " not served: " + error.what());
        std::lock_guard<std::mutex> lock(acceptor->mutex);
        --acceptor->reading;
        return;
    }
    ticket->waitSettled();
}

void AssociationServer::onAccepted(const std::shared_ptr<SocketGuard>& guard)
{
    auto ticket = std::static_pointer_cast<AcceptTicket>(acceptingTicket);
    pending_.add(guard, ticket ? ticket->acceptor : 0);
    if (ticket)
        ticket->settle(guard);
}

void AssociationServer::serveConnection(const std::shared_ptr<Acceptor>& acceptor,
                                        const std::shared_ptr<AcceptTicket>& ticket, std::uint64_t id)
{
    T_ASC_Association* association = nullptr;
    acceptingTicket = ticket;
    OFCondition cond = ASC_receiveAssociation(acceptor->network, &association, limits_.maxPduBytes, nullptr,
                                              nullptr, OFFalse, DUL_NOBLOCK, 1);
    acceptingTicket.reset();
    ticket->settle(nullptr);  // the connection had gone before it was accepted
    {
        std::lock_guard<std::mutex> lock(acceptor->mutex);
        --acceptor->reading;
    }
    acceptor->changed.notify_all();

    const auto outcome = ticket->guard ? pending_.remove(ticket->guard) : PendingConnections::Outcome::Read;
    if (cond.bad() || outcome != PendingConnections::Outcome::Read) {
        if (cond != DUL_NOASSOCIATIONREQUEST) {
            const std::string why = outcome != PendingConnections::Outcome::Read ? text(outcome, limits_)
                                                                                 : std::string(cond.text());
            log("Association request on port " + std::to_string(acceptor->port) + " failed: " + why);
        }
        if (association != nullptr) {
            ASC_dropAssociation(association);
            ASC_destroyAssociation(&association);
        }
        return;
    }
    if (stopping_) {
        refuse(association, "the service is stopping");
        return;
    }
    // A request the service cannot serve is rejected by the worker without
    // taking one of the association slots, so a run of such requests never
    // makes the next good one wait for their slots to come free.
    const bool serviceable = acceptServedContexts(association->params);
    if (serviceable && !reserveAssociation()) {
        refuse(association, std::to_string(open_.load()) + " associations open");
        return;
    }
    AssociationWorker(association, id, dispatcher_, events_, limits_, stopping_).run();
    if (serviceable)
        --open_;
}

bool AssociationServer::reserveAssociation()
{
    int open = open_.load();
    do {
        if (open >= limits_.maxAssociations)
            return false;
    } while (!open_.compare_exchange_weak(open, open + 1));
    return true;
}

void AssociationServer::refuse(T_ASC_Association* association, const std::string& why)
{
    T_ASC_RejectParameters reject = {ASC_RESULT_REJECTEDTRANSIENT,
                                     ASC_SOURCE_SERVICEPROVIDER_PRESENTATION_RELATED,
                                     ASC_REASON_SP_PRES_LOCALLIMITEXCEEDED};
    ASC_rejectAssociation(association, &reject);
    log(std::string("Association from ") + association->params->DULparams.callingPresentationAddress +
        " refused: " + why);
    ASC_dropAssociation(association);
    ASC_destroyAssociation(&association);
}

// Joins the connection threads that have ended and the listening threads of
// ports that have been let go.
void AssociationServer::reapFinished()
{
    std::list<std::unique_ptr<Connection>> connections;
    std::list<std::shared_ptr<Acceptor>> acceptors;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            if ((*it)->finished && (*it)->thread.joinable()) {
                connections.push_back(std::move(*it));
                it = connections_.erase(it);
            } else {
                ++it;
            }
        }
        for (auto it = acceptors_.begin(); it != acceptors_.end();) {
            if ((*it)->finished && (*it)->thread.joinable() &&
                (*it)->thread.get_id() != std::this_thread::get_id()) {
                acceptors.push_back(*it);
                it = acceptors_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& connection : connections)
        connection->thread.join();
    for (auto& acceptor : acceptors)
        acceptor->thread.join();
}

void AssociationServer::stop()
{
    stopping_ = true;
    std::list<std::shared_ptr<Acceptor>> acceptors;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        acceptors.swap(acceptors_);
    }
    for (auto& acceptor : acceptors)
        if (acceptor->thread.joinable())
            acceptor->thread.join();
    std::list<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& connection : connections)
        if (connection->thread.joinable())
            connection->thread.join();
}

}  // namespace vantorel::print_service
