#include "print_service/associations.h"

#include "base/run_log.h"
#include "print_service/print_object_store.h"
#include "print_service/request_handler.h"

namespace vantorel::print_service {

namespace {

// The pixel budget counts objects of every association: equal UIDs of two
// associations are two objects.
std::string budgetKey(ObjectScope scope, const std::string& uid)
{
    return std::to_string(scope) + "/" + uid;
}

}  // namespace

namespace status {
inline constexpr std::uint16_t resourceLimitation = 0x0213;
inline constexpr std::uint16_t insufficientMemoryForImage = 0xC605;
}  // namespace status

Associations::Associations(PrintObjectStore& store, RequestHandler& handler, base::RunLog& log,
                           StoreLimits limits)
    : store_(store), handler_(handler), log_(log), limits_(limits), pixels_(limits.maxPixelBytes)
{
    store_.addRemovalObserver(
        [this](ObjectScope scope, const std::string& uid) { pixels_.removed(budgetKey(scope, uid)); });
}

void Associations::associationRequested(const AssociationInfo& association)
{
    owner_.check("Associations");
    log_.write("收到请求：AssociationRequest2");
    filmSessions_[association.id] = {};
}

NormalisedResponse Associations::normalisedRequest(const AssociationInfo& association,
                                                   NormalisedRequest& request)
{
    owner_.check("Associations");
    // Whatever this request finds, makes or removes is this association's.
    const PrintObjectStore::Scoped scoped(store_, association.id);
    if (request.commandField == command::nCreate && store_.size() >= limits_.maxObjects) {
        log_.write("N-CREATE " + request.affectedSopClassUid + " refused: " + std::to_string(store_.size()) +
                   " print objects stored");
        return {};
    }
    NormalisedResponse refusal;
    if (!withinPixelBudget(request, refusal))
        return refusal;
    // An association always has its list; a request arriving without one
    // (which the adapter never sends) gets a fresh list rather than a crash.
    NormalisedResponse response = handler_.handle(request, association, filmSessions_[association.id]);
    noteChanges(association, request, response);
    return response;
}

bool Associations::withinPixelBudget(const NormalisedRequest& request, NormalisedResponse& refusal)
{
    const bool set = request.commandField == command::nSet;
    if ((!set && request.commandField != command::nCreate) || !request.dataSet)
        return true;
    PrintObject* target =
        set ? store_.Dataset(request.requestedSopClassUid, request.requestedSopInstanceUid) : nullptr;
    if (set && target == nullptr)
        return true;  // changes nothing
    if (pixels_.admits(target != nullptr ? &target->attributes() : nullptr, *request.dataSet))
        return true;
    refusal.answered = true;
    refusal.status = set ? status::insufficientMemoryForImage : status::resourceLimitation;
    refusal.affectedSopClassUid = set ? request.requestedSopClassUid : request.affectedSopClassUid;
    refusal.affectedSopInstanceUid = set ? request.requestedSopInstanceUid : request.affectedSopInstanceUid;
    log_.write(std::string(set ? "N-SET " : "N-CREATE ") + refusal.affectedSopInstanceUid +
               " refused: " + std::to_string(PixelBudget::bytesIn(*request.dataSet)) +
               " bytes of pixel data would take the " + std::to_string(pixels_.held()) +
               " held past the limit of " + std::to_string(pixels_.limit()));
    return false;
}

// Records what pixel data an object an answered N-CREATE or N-SET made or
// changed holds.
void Associations::noteChanges(const AssociationInfo& association, const NormalisedRequest& request,
                               const NormalisedResponse& response)
{
    if (!response.answered || response.status != 0)
        return;
    std::string uid;
    if (request.commandField == command::nCreate)
        uid = response.affectedSopInstanceUid;
    else if (request.commandField == command::nSet)
        uid = request.requestedSopInstanceUid;
    PrintObject* object = uid.empty() ? nullptr : store_.find(association.id, uid);
    if (object == nullptr)
        return;
    pixels_.holds(budgetKey(association.id, uid), PixelBudget::bytesIn(object->attributes()));
}

void Associations::associationClosed(std::uint64_t associationId)
{
    owner_.check("Associations");
    filmSessions_.erase(associationId);
    store_.removeScope(associationId);
}

std::size_t Associations::objectsOf(std::uint64_t associationId) const
{
    return store_.sizeOf(associationId);
}

void Associations::diagnostic(const std::string& line)
{
    owner_.check("Associations");
    log_.write(line);
}

}  // namespace vantorel::print_service
