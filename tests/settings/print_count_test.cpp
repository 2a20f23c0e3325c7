#include "settings/print_count.h"

#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <limits>

namespace vantorel::settings {
namespace {

using testing::FakePrintCount;

TEST(PrintCount, CountsOnFromTheStoredValueAndStoresEachNewCount)
{
    struct Case {
        std::int32_t stored;
        std::int32_t next;
    };
    const Case cases[] = {
        {0, 1},
        {41, 42},
        // The counter wraps instead of overflowing.
        {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()},
    };
    for (const Case& c : cases) {
        FakePrintCount store(c.stored);
        PrintCount count(store);
        EXPECT_EQ(count.value(), 0) << "nothing is read before start-up reads it";
        count.readStored();
        EXPECT_EQ(count.value(), c.stored);
        EXPECT_EQ(count.addOne(), c.next) << c.stored;
        EXPECT_EQ(count.value(), c.next);
        EXPECT_EQ(store.read(), c.next) << c.stored;
    }
}

}  // namespace
}  // namespace vantorel::settings
