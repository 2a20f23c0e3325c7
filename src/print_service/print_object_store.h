#pragma once

#include "base/owner_thread.h"
#include "print_service/print_object.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class DcmSequenceOfItems;

namespace vantorel::print_service {

// Whose print objects: an association's (its id), or the server's own.
using ObjectScope = std::uint64_t;
inline constexpr ObjectScope serverScope = 0;

// Every print object the service knows: the Printer object and the film
// sessions, film boxes and image boxes of all associations. Main thread only.
//
// Objects are scoped: each belongs to the association that created it, and
// an association sees only its own objects and the server's (the Printer).
// The scope in force is set for the handling of one request by a Scoped
// guard; lookups, new objects and removals then use it. Equal UIDs of two
// associations are two objects that never meet.
//
// Walking a film session for printing (within the requesting association's scope):
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

    // Puts `scope` in force for its lifetime; the previous one comes back after.
    class Scoped {
    public:
        Scoped(PrintObjectStore& store, ObjectScope scope);
        ~Scoped();
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        PrintObjectStore& store_;
        ObjectScope previous_;
    };
    ObjectScope scope() const { return scope_; }

    // A new, empty object with no children and no UIDs. It is held by the
    // store but found by no lookup until assignInstanceUid names it.
    PrintObject& newDataSet();

    // Sets (0008,0018) of a new object and makes it findable under `uid` in
    // the scope in force. An object of that scope already stored under `uid`
    // is removed first, with its descendants, as remove does: one object per
    // UID and scope.
    void assignInstanceUid(PrintObject& object, const std::string& uid);

    // The object stored under `uid` in the scope in force, else the server's;
    // `cls` is not consulted. nullptr when none.
    PrintObject* Dataset(const std::string& cls, const std::string& uid);
    const PrintObject* Dataset(const std::string& cls, const std::string& uid) const;

    // The object of exactly `scope` under `uid`; nullptr when none.
    PrintObject* find(ObjectScope scope, const std::string& uid);
    const PrintObject* find(ObjectScope scope, const std::string& uid) const;

    // Item `n` (1 = first) of the sequence `a`, looked up by its Referenced SOP
    // Instance UID (0008,1155). nullptr when the item, the UID or the object is
    // missing.
    PrintObject* datasetFromSequence(DcmSequenceOfItems& a, int n);

    // Removes the object of the scope in force (never one of the server's
    // from another scope) and, before it, all its descendants (children in
    // list order, grandchildren before children). Each object goes once,
    // even when a malformed link makes an object its own descendant. Unknown
    // UIDs are passed over silently. Parent lists keep naming removed objects.
    void remove(const std::string& classUID, const std::string& instanceUID);

    // Removes every object of `scope`, the newest first (an association has
    // closed).
    void removeScope(ObjectScope scope);

    // The children of `parent` still in the store, in list order.
    std::vector<PrintObject*> children(const PrintObject& parent);
    std::vector<const PrintObject*> children(const PrintObject& parent) const;

    // Each observer is called with the scope and UID of every object as it
    // leaves the store.
    using RemovalObserver = std::function<void(ObjectScope, const std::string&)>;
    void addRemovalObserver(RemovalObserver observer) { removalObservers_.push_back(std::move(observer)); }

    std::size_t size() const { return objects_.size(); }
    std::size_t sizeOf(ObjectScope scope) const;
    std::vector<std::string> instanceUids() const;  // of every scope, sorted

private:
    using Key = std::pair<ObjectScope, std::string>;

    base::OwnerThread owner_;  // main thread only
    void removeOne(const Key& key);
    const PrintObject* lookUp(const std::string& uid) const;

    ObjectScope scope_ = serverScope;
    std::uint64_t nextOrder_ = 0;
    std::map<Key, std::unique_ptr<PrintObject>> objects_;
    std::vector<std::unique_ptr<PrintObject>> unnamed_;  // made by newDataSet, not yet named
    std::vector<RemovalObserver> removalObservers_;
};

}  // namespace vantorel::print_service
