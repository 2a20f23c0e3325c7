#pragma once

namespace vantorel::base {

// A local calendar date and time, as the wall clock of the workstation shows it.
struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1 ... 12
    int day = 1;    // 1 ... 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Source of the current local time; tests use FixedClock to pin dates.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime time) : time_(time) {}
    void set(LocalDateTime time) { time_ = time; }
    LocalDateTime now() const override { return time_; }

private:
    LocalDateTime time_;
};

}  // namespace vantorel::base
