#include "print_service/associations.h"

#include "console/run_log.h"
#include "print_service/print_object_store.h"
#include "print_service/request_handler.h"

namespace vantorel::print_service {

Associations::Associations(PrintObjectStore& store, RequestHandler& handler, console::RunLog& log,
                           std::size_t maxObjects)
    : store_(store), handler_(handler), log_(log), maxObjects_(maxObjects)
{
}

void Associations::associationRequested(const AssociationInfo& association)
{
    log_.write("收到请求：AssociationRequest2");
    filmSessions_[association.id] = {};
}

NormalisedResponse Associations::normalisedRequest(const AssociationInfo& association,
                                                   NormalisedRequest& request)
{
    if (request.commandField == command::nCreate && store_.size() >= maxObjects_) {
        log_.write("N-CREATE " + request.affectedSopClassUid + " refused: " + std::to_string(store_.size()) +
                   " print objects stored");
        return {};
    }
    // An association always has its list; a request arriving without one
    // (which the adapter never sends) gets a fresh list rather than a crash.
    return handler_.handle(request, association, filmSessions_[association.id]);
}

void Associations::associationClosed(std::uint64_t associationId)
{
    auto found = filmSessions_.find(associationId);
    if (found == filmSessions_.end())
        return;
    const AssociationFilmSessions sessions = std::move(found->second);
    filmSessions_.erase(found);
    for (const ObjectRef& session : sessions)
        store_.Remove(session.classUid, session.instanceUid);
}

void Associations::diagnostic(const std::string& line)
{
    log_.write(line);
}

}  // namespace vantorel::print_service
