#include "console/owner_thread.h"

#include <cstdio>
#include <cstdlib>

namespace vantorel::console {

void OwnerThread::fail(const char* what)
{
    std::fprintf(stderr, "vantorel: %s called off the thread that owns it\n", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace vantorel::console
