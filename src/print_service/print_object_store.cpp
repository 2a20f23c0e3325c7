#include "print_service/print_object_store.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <algorithm>
#include <set>
#include <utility>

namespace vantorel::print_service {

PrintObjectStore::PrintObjectStore() = default;
PrintObjectStore::~PrintObjectStore() = default;

PrintObjectStore::Scoped::Scoped(PrintObjectStore& store, ObjectScope scope)
    : store_(store), previous_(store.scope_)
{
    store_.owner_.check("PrintObjectStore");
    store_.scope_ = scope;
}

PrintObjectStore::Scoped::~Scoped()
{
    store_.scope_ = previous_;
}

PrintObject& PrintObjectStore::newDataSet()
{
    owner_.check("PrintObjectStore");
    unnamed_.push_back(std::make_unique<PrintObject>());
    return *unnamed_.back();
}

void PrintObjectStore::assignInstanceUid(PrintObject& object, const std::string& uid)
{
    owner_.check("PrintObjectStore");
    object.attributes().putAndInsertString(DCM_SOPInstanceUID, uid.c_str());
    auto found = std::find_if(unnamed_.begin(), unnamed_.end(),
                              [&](const auto& held) { return held.get() == &object; });
    if (found == unnamed_.end())
        return;  // already named: the key never changes
    std::unique_ptr<PrintObject> held = std::move(*found);
    unnamed_.erase(found);
    if (objects_.count({scope_, uid}) != 0)
        remove({}, uid);
    held->instanceUid_ = uid;
    held->order_ = nextOrder_++;
    objects_[{scope_, uid}] = std::move(held);
}

const PrintObject* PrintObjectStore::lookUp(const std::string& uid) const
{
    owner_.check("PrintObjectStore");
    auto found = objects_.find({scope_, uid});
    if (found == objects_.end() && scope_ != serverScope)
        found = objects_.find({serverScope, uid});
    return found == objects_.end() ? nullptr : found->second.get();
}

PrintObject* PrintObjectStore::Dataset(const std::string& /*cls*/, const std::string& uid)
{
    return const_cast<PrintObject*>(lookUp(uid));
}

const PrintObject* PrintObjectStore::Dataset(const std::string& /*cls*/, const std::string& uid) const
{
    return lookUp(uid);
}

PrintObject* PrintObjectStore::find(ObjectScope scope, const std::string& uid)
{
    return const_cast<PrintObject*>(std::as_const(*this).find(scope, uid));
}

const PrintObject* PrintObjectStore::find(ObjectScope scope, const std::string& uid) const
{
    owner_.check("PrintObjectStore");
    auto found = objects_.find({scope, uid});
    return found == objects_.end() ? nullptr : found->second.get();
}

PrintObject* PrintObjectStore::datasetFromSequence(DcmSequenceOfItems& a, int n)
{
    owner_.check("PrintObjectStore");
    if (n < 1 || static_cast<unsigned long>(n) > a.card())
        return nullptr;
    DcmItem* item = a.getItem(static_cast<unsigned long>(n - 1));
    if (item == nullptr)
        return nullptr;
    OFString classUid;
    OFString instanceUid;
    item->findAndGetOFStringArray(DCM_ReferencedSOPClassUID, classUid);
    if (item->findAndGetOFStringArray(DCM_ReferencedSOPInstanceUID, instanceUid).bad())
        return nullptr;
    return Dataset(classUid.c_str(), instanceUid.c_str());
}

void PrintObjectStore::remove(const std::string& /*classUID*/, const std::string& instanceUID)
{
    owner_.check("PrintObjectStore");
    if (objects_.count({scope_, instanceUID}) == 0)
        return;
    // Depth-first, children in list order, each object after its descendants.
    // An explicit stack keeps a long chain of malformed links from exhausting
    // the call stack; `entered` stops a link back to an ancestor.
    struct Frame {
        std::string uid;
        std::size_t next = 0;
    };
    std::set<std::string> entered{instanceUID};
    std::vector<Frame> stack{{instanceUID}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const PrintObject* object = find(scope_, top.uid);
        if (object != nullptr && top.next < object->childObjects().size()) {
            const std::string& child = object->childObjects()[top.next++].instanceUid;
            if (objects_.count({scope_, child}) != 0 && entered.insert(child).second)
                stack.push_back({child});
            continue;
        }
        removeOne({scope_, top.uid});
        stack.pop_back();
    }
}

void PrintObjectStore::removeScope(ObjectScope scope)
{
    owner_.check("PrintObjectStore");
    std::vector<std::pair<std::uint64_t, Key>> mine;
    for (auto it = objects_.lower_bound({scope, std::string()});
         it != objects_.end() && it->first.first == scope; ++it)
        mine.emplace_back(it->second->order_, it->first);
    std::sort(mine.begin(), mine.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& entry : mine)
        removeOne(entry.second);
}

void PrintObjectStore::removeOne(const Key& key)
{
    if (objects_.erase(key) == 0)
        return;
    for (const auto& observer : removalObservers_)
        observer(key.first, key.second);
}

std::vector<PrintObject*> PrintObjectStore::children(const PrintObject& parent)
{
    owner_.check("PrintObjectStore");
    std::vector<PrintObject*> found;
    for (const ObjectRef& child : parent.childObjects())
        if (PrintObject* object = Dataset(child.classUid, child.instanceUid))
            found.push_back(object);
    return found;
}

std::vector<const PrintObject*> PrintObjectStore::children(const PrintObject& parent) const
{
    owner_.check("PrintObjectStore");
    std::vector<const PrintObject*> found;
    for (const ObjectRef& child : parent.childObjects())
        if (const PrintObject* object = Dataset(child.classUid, child.instanceUid))
            found.push_back(object);
    return found;
}

std::size_t PrintObjectStore::sizeOf(ObjectScope scope) const
{
    std::size_t count = 0;
    for (auto it = objects_.lower_bound({scope, std::string()});
         it != objects_.end() && it->first.first == scope; ++it)
        ++count;
    return count;
}

std::vector<std::string> PrintObjectStore::instanceUids() const
{
    std::vector<std::string> uids;
    for (const auto& entry : objects_)
        uids.push_back(entry.first.second);
    std::sort(uids.begin(), uids.end());
    return uids;
}

}  // namespace vantorel::print_service
