#include "print_service/object_ownership.h"

#include "print_service/print_object_store.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <unordered_set>
#include <utility>

namespace vantorel::print_service {

namespace {

// The objects `object` names: its children and the Referenced SOP Instance
// UIDs of the items of its top-level sequences (film session, Presentation
// LUT, image box references).
std::vector<std::string> referencesOf(PrintObject& object)
{
    std::vector<std::string> found;
    for (const ObjectRef& child : object.ChildObjects())
        found.push_back(child.instanceUid);
    DcmDataset& attributes = object.attributes();
    for (unsigned long i = 0; i < attributes.card(); ++i) {
        auto* sequence = dynamic_cast<DcmSequenceOfItems*>(attributes.getElement(i));
        if (sequence == nullptr)
            continue;
        for (unsigned long n = 0; n < sequence->card(); ++n) {
            OFString uid;
            if (sequence->getItem(n)->findAndGetOFStringArray(DCM_ReferencedSOPInstanceUID, uid).good())
                found.emplace_back(uid.c_str());
        }
    }
    return found;
}

}  // namespace

void ObjectOwnership::created(std::uint64_t owner, const std::string& uid)
{
    removed(uid);
    take(owner, uid);
}

void ObjectOwnership::take(std::uint64_t owner, const std::string& uid)
{
    const std::uint64_t order = nextOrder_++;
    ownerOf_[uid] = {owner, order};
    objectsOf_[owner][order] = uid;
}

void ObjectOwnership::removed(const std::string& uid)
{
    auto found = ownerOf_.find(uid);
    if (found == ownerOf_.end())
        return;
    auto objects = objectsOf_.find(found->second.id);
    if (objects != objectsOf_.end()) {
        objects->second.erase(found->second.order);
        if (objects->second.empty())
            objectsOf_.erase(objects);
    }
    ownerOf_.erase(found);
}

std::vector<std::string> ObjectOwnership::release(std::uint64_t owner, PrintObjectStore& store)
{
    auto found = objectsOf_.find(owner);
    if (found == objectsOf_.end())
        return {};
    const std::map<std::uint64_t, std::string> mine = std::move(found->second);
    objectsOf_.erase(found);
    std::unordered_set<std::string> closing;
    for (const auto& entry : mine) {
        closing.insert(entry.second);
        ownerOf_.erase(entry.second);
    }

    // Walk from every object of the associations still open into the closing
    // one's objects; whatever is reached stays with the association it was
    // reached from.
    std::unordered_map<std::string, std::uint64_t> kept;
    std::vector<std::pair<PrintObject*, std::uint64_t>> frontier;
    for (const auto& [other, objects] : objectsOf_)
        for (const auto& entry : objects)
            if (PrintObject* object = store.Dataset({}, entry.second))
                frontier.emplace_back(object, other);
    while (!frontier.empty()) {
        const auto [object, adopter] = frontier.back();
        frontier.pop_back();
        for (const std::string& uid : referencesOf(*object)) {
            if (closing.count(uid) == 0 || !kept.emplace(uid, adopter).second)
                continue;
            if (PrintObject* reached = store.Dataset({}, uid))
                frontier.emplace_back(reached, adopter);
        }
    }

    std::vector<std::string> passedOn;
    for (const auto& entry : mine) {
        auto keep = kept.find(entry.second);
        if (keep == kept.end())
            continue;
        take(keep->second, entry.second);
        passedOn.push_back(entry.second);
    }
    for (auto it = mine.rbegin(); it != mine.rend(); ++it)
        if (kept.count(it->second) == 0)
            store.removeSingle(it->second);
    return passedOn;
}

std::size_t ObjectOwnership::createdBy(std::uint64_t owner) const
{
    auto found = objectsOf_.find(owner);
    return found == objectsOf_.end() ? 0 : found->second.size();
}

}  // namespace vantorel::print_service
