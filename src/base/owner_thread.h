#pragma once

#include <thread>

namespace vantorel::base {

// The thread that owns an object: the one that built it. State that only the
// main thread may touch holds one and calls check() on entry; a call from any
// other thread ends the program at once with a line on standard error, in
// every build, so a wrong-thread call fails loudly instead of racing.
class OwnerThread {
public:
    OwnerThread() : owner_(std::this_thread::get_id()) {}

    // `what` names the entry point in the message, e.g. "PrintObjectStore".
    void check(const char* what) const
    {
        if (std::this_thread::get_id() != owner_)
            fail(what);
    }

private:
    [[noreturn]] static void fail(const char* what);

    std::thread::id owner_;
};

}  // namespace vantorel::base
