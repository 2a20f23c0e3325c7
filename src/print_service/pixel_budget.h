#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

class DcmItem;

namespace vantorel::print_service {

// The pixel data held by all print objects of all associations together,
// against one limit, so that no peer, or number of peers, can fill the
// memory with images that are never printed or deleted.
class PixelBudget {
public:
    explicit PixelBudget(std::uint64_t limit) : limit_(limit) {}

    // Bytes of Pixel Data (7FE0,0010) in `item`, at any depth.
    static std::uint64_t bytesIn(DcmItem& item);

    // Whether setting the attributes of `incoming` on an object that holds
    // `current` (null: a new object) keeps all pixel data within the limit.
    // Attributes of `current` that `incoming` replaces no longer count.
    bool admits(DcmItem* current, DcmItem& incoming) const;

    // The object stored under `uid` now holds `bytes` of pixel data.
    void holds(const std::string& uid, std::uint64_t bytes);
    void removed(const std::string& uid);

    std::uint64_t held() const { return held_; }
    std::uint64_t limit() const { return limit_; }

private:
    std::uint64_t limit_;
    std::uint64_t held_ = 0;
    std::unordered_map<std::string, std::uint64_t> byObject_;
};

}  // namespace vantorel::print_service
