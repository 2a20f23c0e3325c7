#include "base/owner_thread.h"

#include <cstdio>
#include <cstdlib>

namespace vantorel::base {

void OwnerThread::fail(const char* what)
{
    std::fprintf(stderr, "vantorel: %s called off the thread that owns it\n", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace vantorel::base
