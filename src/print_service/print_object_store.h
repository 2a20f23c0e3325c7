#pragma once

#include "print_service/print_object.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class DcmSequenceOfItems;

namespace vantorel::print_service {

// Every print object the service knows: the Printer object and the film
// sessions, film boxes and image boxes of all associations. Main thread only.
//
// Walking a film session for printing:
//   const PrintObject* session = store.Dataset("", ruid);
//   for (const PrintObject* filmBox : store.children(*session))
//       filmBox->filmBoxFormat()         -> its own grid and film size
//       store.children(*filmBox)         -> its image boxes in cell order
//       imageBox->attributes()           -> (2020,0110) or (2020,0111) with the pixels
// Pointers stay valid until the object is removed or replaced.
class PrintObjectStore {
public:
    PrintObjectStore();
    ~PrintObjectStore();
    PrintObjectStore(const PrintObjectStore&) = delete;
    PrintObjectStore& operator=(const PrintObjectStore&) = delete;

    // A new, empty object with no children and no UIDs. It is held by the
    // store but found by no lookup until assignInstanceUid names it.
    PrintObject& NewDataSet();

    // Sets (0008,0018) of a new object and makes it findable under `uid`. An
    // object already stored under `uid` is removed first, with its descendants,
    // as Remove does: one object per UID.
    void assignInstanceUid(PrintObject& object, const std::string& uid);

    // The object stored under `uid`; `cls` is not consulted. nullptr when none.
    PrintObject* Dataset(const std::string& cls, const std::string& uid);
    const PrintObject* Dataset(const std::string& cls, const std::string& uid) const;

    // Item `n` (1 = first) of the sequence `a`, looked up by its Referenced SOP
    // Instance UID (0008,1155). nullptr when the item, the UID or the object is
    // missing.
    PrintObject* DatasetFromSequence(DcmSequenceOfItems& a, int n);

    // Removes the object and, before it, all its descendants (children in list
    // order, grandchildren before children). Each object goes once, even when a
    // malformed link makes an object its own descendant. Unknown UIDs are
    // passed over silently. Parent lists keep naming removed objects.
    void Remove(const std::string& classUID, const std::string& instanceUID);

    // The children of `parent` still in the store, in list order.
    std::vector<PrintObject*> children(const PrintObject& parent);
    std::vector<const PrintObject*> children(const PrintObject& parent) const;

    // Removes only the object stored under `instanceUID`, not its children.
    void removeSingle(const std::string& instanceUID);

    // Each observer is called with the UID of every object as it leaves the store.
    void addRemovalObserver(std::function<void(const std::string&)> observer)
    {
        removalObservers_.push_back(std::move(observer));
    }

    std::size_t size() const { return objects_.size(); }
    std::vector<std::string> instanceUids() const;  // sorted

private:
    void removeOne(const std::string& uid);

    std::map<std::string, std::unique_ptr<PrintObject>> objects_;
    std::vector<std::unique_ptr<PrintObject>> unnamed_;  // made by NewDataSet, not yet named
    std::vector<std::function<void(const std::string&)>> removalObservers_;
};

}  // namespace vantorel::print_service
