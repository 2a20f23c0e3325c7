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

PrintObject& PrintObjectStore::NewDataSet()
{
    unnamed_.push_back(std::make_unique<PrintObject>());
    return *unnamed_.back();
}

void PrintObjectStore::assignInstanceUid(PrintObject& object, const std::string& uid)
{
    object.attributes().putAndInsertString(DCM_SOPInstanceUID, uid.c_str());
    auto found = std::find_if(unnamed_.begin(), unnamed_.end(),
                              [&](const auto& held) { return held.get() == &object; });
    if (found == unnamed_.end())
        return;  // already named: the key never changes
    std::unique_ptr<PrintObject> held = std::move(*found);
    unnamed_.erase(found);
    if (objects_.count(uid) != 0)
        Remove({}, uid);
    held->instanceUid_ = uid;
    objects_[uid] = std::move(held);
}

PrintObject* PrintObjectStore::Dataset(const std::string& /*cls*/, const std::string& uid)
{
    auto found = objects_.find(uid);
    return found == objects_.end() ? nullptr : found->second.get();
}

const PrintObject* PrintObjectStore::Dataset(const std::string& /*cls*/,
                                             const std::string& uid) const
{
    auto found = objects_.find(uid);
    return found == objects_.end() ? nullptr : found->second.get();
}

PrintObject* PrintObjectStore::DatasetFromSequence(DcmSequenceOfItems& a, int n)
{
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

void PrintObjectStore::Remove(const std::string& /*classUID*/, const std::string& instanceUID)
{
    if (objects_.count(instanceUID) == 0)
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
        const PrintObject* object = Dataset({}, top.uid);
        if (object != nullptr && top.next < object->ChildObjects().size()) {
            const std::string& child = object->ChildObjects()[top.next++].instanceUid;
            if (objects_.count(child) != 0 && entered.insert(child).second)
                stack.push_back({child});
            continue;
        }
        removeOne(top.uid);
        stack.pop_back();
    }
}

void PrintObjectStore::removeSingle(const std::string& instanceUID)
{
    removeOne(instanceUID);
}

void PrintObjectStore::removeOne(const std::string& uid)
{
    if (objects_.erase(uid) == 0)
        return;
    for (const auto& observer : removalObservers_)
        observer(uid);
}

std::vector<PrintObject*> PrintObjectStore::children(const PrintObject& parent)
{
    std::vector<PrintObject*> found;
    for (const ObjectRef& child : parent.ChildObjects())
        if (PrintObject* object = Dataset(child.classUid, child.instanceUid))
            found.push_back(object);
    return found;
}

std::vector<const PrintObject*> PrintObjectStore::children(const PrintObject& parent) const
{
    std::vector<const PrintObject*> found;
    for (const ObjectRef& child : parent.ChildObjects())
        if (const PrintObject* object = Dataset(child.classUid, child.instanceUid))
            found.push_back(object);
    return found;
}

std::vector<std::string> PrintObjectStore::instanceUids() const
{
    std::vector<std::string> uids;
    for (const auto& entry : objects_)
        uids.push_back(entry.first);
    return uids;
}

}  // namespace vantorel::print_service
