#include "print_service/dcmtk/association_server.h"

#include "print_service/associations.h"
#include "print_service/dcmtk/association_worker.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"

#include <dcmtk/dcmnet/assoc.h>
#include <dcmtk/dcmnet/dcmtrans.h>

namespace vantorel::print_service {

struct AssociationServer::Acceptor {
    T_ASC_Network* network = nullptr;
    std::int32_t port = 0;
    std::atomic<bool> retired{false};
    std::thread thread;
};

struct AssociationServer::Worker {
    std::thread thread;
    std::atomic<bool> finished{false};
};

AssociationServer::AssociationServer(MainThreadDispatcher& dispatcher, ServiceEvents& events,
                                     ServerLimits limits)
    : dispatcher_(dispatcher), events_(events), limits_(limits)
{
    // A peer that stops reading or writing mid-PDU cannot hold a thread longer.
    dcmSocketSendTimeout.set(limits_.dimseTimeoutSeconds);
    dcmSocketReceiveTimeout.set(limits_.dimseTimeoutSeconds);
}

AssociationServer::~AssociationServer()
{
    stop();
}

void AssociationServer::log(const std::string& line)
{
    dispatcher_.post([this, line] { events_.diagnostic(line); });
}

bool AssociationServer::Listen(std::int32_t port)
{
    if (port < 1 || port > 65535) {
        log("Listen " + std::to_string(port) + ": not a TCP port");
        return false;
    }
    releaseRetiredAcceptorsOn(port);
    T_ASC_Network* network = nullptr;
    OFCondition cond = ASC_initializeNetwork(NET_ACCEPTOR, port, limits_.acseTimeoutSeconds, &network);
    if (cond.bad()) {
        log("Listen " + std::to_string(port) + ": " + cond.text());
        if (network != nullptr)
            ASC_dropNetwork(&network);
        return false;
    }
    auto acceptor = std::make_unique<Acceptor>();
    acceptor->network = network;
    acceptor->port = port;
    Acceptor& started = *acceptor;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& previous : acceptors_)
            previous->retired = true;
        acceptors_.push_back(std::move(acceptor));
    }
    started.thread = std::thread([this, &started] { acceptLoop(started); });
    return true;
}

// A port left moments ago is still held by its retired acceptor until that
// thread's next one-second poll; going back to it waits for the thread to let go.
void AssociationServer::releaseRetiredAcceptorsOn(std::int32_t port)
{
    std::vector<std::thread*> leaving;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& acceptor : acceptors_)
            if (acceptor->retired && acceptor->port == port && acceptor->thread.joinable())
                leaving.push_back(&acceptor->thread);
    }
    for (std::thread* thread : leaving)
        thread->join();
}

void AssociationServer::acceptLoop(Acceptor& acceptor)
{
    while (!stopping_ && !acceptor.retired) {
        if (ASC_associationWaiting(acceptor.network, 1))
            acceptOne(acceptor);
        reapFinishedWorkers();
    }
    ASC_dropNetwork(&acceptor.network);
}

void AssociationServer::acceptOne(Acceptor& acceptor)
{
    T_ASC_Association* association = nullptr;
    OFCondition cond = ASC_receiveAssociation(acceptor.network, &association, limits_.maxPduBytes, nullptr,
                                              nullptr, OFFalse, DUL_NOBLOCK, limits_.acseTimeoutSeconds);
    if (cond.bad()) {
        if (cond != DUL_NOASSOCIATIONREQUEST)
            log("Association request on port " + std::to_string(acceptor.port) + " failed: " + cond.text());
        if (association != nullptr) {
            ASC_dropAssociation(association);
            ASC_destroyAssociation(&association);
        }
        return;
    }
    if (open_.load() >= limits_.maxAssociations || stopping_) {
        T_ASC_RejectParameters reject = {ASC_RESULT_REJECTEDTRANSIENT,
                                         ASC_SOURCE_SERVICEPROVIDER_PRESENTATION_RELATED,
                                         ASC_REASON_SP_PRES_LOCALLIMITEXCEEDED};
        ASC_rejectAssociation(association, &reject);
        log(std::string("Association from ") + association->params->DULparams.callingPresentationAddress +
            " refused: " + std::to_string(open_.load()) + " associations open");
        ASC_dropAssociation(association);
        ASC_destroyAssociation(&association);
        return;
    }
    ++open_;
    const std::uint64_t id = nextId_++;
    std::lock_guard<std::mutex> lock(mutex_);
    auto worker = std::make_unique<Worker>();
    Worker& started = *worker;
    started.thread = std::thread([this, association, id, &started] {
        AssociationWorker(association, id, dispatcher_, events_, limits_, stopping_).run();
        --open_;
        started.finished = true;
    });
    workers_.push_back(std::move(worker));
}

void AssociationServer::reapFinishedWorkers()
{
    std::list<std::unique_ptr<Worker>> finished;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            if ((*it)->finished && (*it)->thread.joinable()) {
                finished.push_back(std::move(*it));
                it = workers_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& worker : finished)
        worker->thread.join();
}

void AssociationServer::stop()
{
    stopping_ = true;
    std::list<std::unique_ptr<Acceptor>> acceptors;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        acceptors.swap(acceptors_);
    }
    for (auto& acceptor : acceptors)
        if (acceptor->thread.joinable())
            acceptor->thread.join();
    std::list<std::unique_ptr<Worker>> workers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        workers.swap(workers_);
    }
    for (auto& worker : workers)
        if (worker->thread.joinable())
            worker->thread.join();
}

}  // namespace vantorel::print_service
