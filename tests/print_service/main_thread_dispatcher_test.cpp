#include "print_service/dcmtk/main_thread_dispatcher.h"

#include "support/wait_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace vantorel::print_service {
namespace {

TEST(MainThreadDispatcher, ANestedEventLoopDoesNotStartTheNextItem)
{
    MainThreadDispatcher dispatcher;
    std::vector<std::string> order;  // main thread only
    std::atomic<bool> aStarted{false}, bQueued{false}, aDone{false};

    std::thread first([&] {
        const bool ran = dispatcher.call([&] {
            order.push_back("A begins");
            aStarted = true;
            // A modal dialog: a nested loop that keeps serving events while
            // the operator decides. B's wake-up is delivered in here.
            while (!bQueued)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents();
            order.push_back("A ends");
        });
        EXPECT_TRUE(ran);
        aDone = true;
    });
    std::thread second([&] {
        while (!aStarted)
            std::this_thread::yield();
        dispatcher.post([&] { order.push_back("B"); });
        bQueued = true;
    });

    ASSERT_TRUE(testing::waitFor([&] { return aDone && order.size() == 3; }, 30000));
    first.join();
    second.join();
    EXPECT_EQ(order, (std::vector<std::string>{"A begins", "A ends", "B"}));
}

TEST(MainThreadDispatcher, RunsItemsInArrivalOrderAndReportsThemDone)
{
    MainThreadDispatcher dispatcher;
    std::vector<int> order;
    std::atomic<int> finished{0};
    std::thread sender([&] {
        for (int i = 0; i < 50; ++i)
            if (dispatcher.call([&order, i] { order.push_back(i); }))
                ++finished;
    });
    ASSERT_TRUE(testing::waitFor([&] { return finished == 50; }, 30000));
    sender.join();
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST(MainThreadDispatcher, CloseReleasesWaitingCallersWithoutRunningTheirWork)
{
    MainThreadDispatcher dispatcher;
    std::atomic<bool> ran{false};
    std::atomic<int> result{-1};
    std::thread caller([&] { result = dispatcher.call([&] { ran = true; }) ? 1 : 0; });
    dispatcher.close();  // before or after the call is queued: it must not run
    caller.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
    // A call after close, from a connection thread as every caller is.
    std::thread late([&] { result = dispatcher.call([&] { ran = true; }) ? 1 : 0; });
    late.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vantorel::print_service
