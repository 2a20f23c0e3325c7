#pragma once

#include <cstdint>

namespace vantorel::settings {

// The per-user film counter as it is kept between runs (a platform value, see
// platform/print_count_settings.h).
class PrintCountStore {
public:
    virtual ~PrintCountStore() = default;
    virtual std::int32_t read() const = 0;  // 0 when never written
    virtual void write(std::int32_t count) = 0;
};

// Films printed so far: a run-time value, not a setting. The composition root
// owns it; start-up reads the stored count once, the print job driver counts
// every film (each new count is written to the store at once) and the status
// bar and --show-settings show it.
class PrintCount {
public:
    explicit PrintCount(PrintCountStore& store) : store_(store) {}

    // Start-up: the count becomes the stored one.
    void readStored() { value_ = store_.read(); }

    std::int32_t value() const { return value_; }

    // One more film, written to the store; wraps at the 32-bit limit instead
    // of overflowing. Returns the new count.
    std::int32_t addOne();

private:
    PrintCountStore& store_;
    std::int32_t value_ = 0;
};

}  // namespace vantorel::settings
