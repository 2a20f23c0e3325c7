#pragma once

// Wrong-thread calls for the death tests of objects that only their owner
// thread may use (base/owner_thread.h).

#include <functional>
#include <thread>

namespace vantorel::testing {

// What the program writes before it stops a call off the owner thread.
inline constexpr const char* offOwnerThread = "called off the thread that owns it";

// Runs `call` on a thread of its own and waits for it to end.
inline void onAnotherThread(const std::function<void()>& call)
{
    std::thread(call).join();
}

}  // namespace vantorel::testing
