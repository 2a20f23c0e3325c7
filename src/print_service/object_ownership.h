#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace vantorel::print_service {

class PrintObjectStore;

// Which open association created each print object, so that closing an
// association removes every object it created, whatever its class: film
// sessions with their film boxes and image boxes, film boxes whose film
// session was never found, Presentation LUTs, anything else. Objects the
// service made itself (the Printer) belong to no association.
class ObjectOwnership {
public:
    // `owner` created the object now stored under `uid` (an earlier object of
    // that UID, whoever created it, has been replaced).
    void created(std::uint64_t owner, const std::string& uid);

    // The object stored under `uid` has left the store.
    void removed(const std::string& uid);

    // `owner` has closed: removes each object it created from `store`, the
    // newest first and without their children (children created by other
    // associations are theirs). An object that an object of another open
    // association refers to, as one of its children or through a Referenced
    // SOP Instance UID (0008,1155) in one of its sequences, stays; so do the
    // objects the kept ones refer to in turn. Those pass to that association
    // and go when it closes. Returns the UIDs passed on.
    std::vector<std::string> release(std::uint64_t owner, PrintObjectStore& store);

    std::size_t createdBy(std::uint64_t owner) const;

private:
    struct Owner {
        std::uint64_t id = 0;
        std::uint64_t order = 0;  // creation order, over all associations
    };

    void take(std::uint64_t owner, const std::string& uid);

    std::unordered_map<std::string, Owner> ownerOf_;
    std::map<std::uint64_t, std::map<std::uint64_t, std::string>> objectsOf_;  // by owner, by order
    std::uint64_t nextOrder_ = 0;
};

}  // namespace vantorel::print_service
