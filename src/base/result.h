#pragma once

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace vantorel::base {

// Why something did not work, in words for the run log or an Error Comment.
struct Failure {
    std::string reason;
};

// A value, or the Failure that kept it from being made. Tests and callers
// read it as a bool (`if (!result)`) and take the reason with reason().
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // Why there is no value; empty when ok().
    const std::string& reason() const
    {
        static const std::string none;
        return ok() ? none : std::get<1>(state_).reason;
    }

private:
    std::variant<T, Failure> state_;
};

// Done, or the Failure that kept it from being done.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }

    // Why it was not done; empty when ok().
    const std::string& reason() const
    {
        static const std::string none;
        return failure_ ? failure_->reason : none;
    }

private:
    std::optional<Failure> failure_;
};

// Inside a catch block: the caught exception's message (what() of a
// std::exception), so that `catch (...)` can still say what went wrong.
inline std::string currentExceptionReason()
{
    const std::exception_ptr caught = std::current_exception();
    if (!caught)
        return "no exception";
    try {
        std::rethrow_exception(caught);
    } catch (const std::exception& error) {
        return *error.what() != '\0' ? error.what() : "exception without a message";
    } catch (...) {
        return "exception that is not a std::exception";
    }
}

}  // namespace vantorel::base
