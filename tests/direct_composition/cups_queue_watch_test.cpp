// The CUPS queue check against the real cupsd, on a queue of the test's own:
// a queue that is not accepting jobs or is stopped refuses before anything is
// sent, and a job that CUPS did not queue is noticed after Qt handed it over.

#include "direct_composition/cups/cups_queue_watch.h"
#include "support/cups_test_queue.h"
#include "support/pdf_pages.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <functional>

namespace vantorel::direct_composition {
namespace {

using testing::CupsTestQueue;

// Hands one page to the queue the way the printer surface does.
bool handOver(const QString& queue, const QString& title)
{
    QPrinter printer(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.fillRect(QRect(0, 0, 100, 100), Qt::black);
    return painter.end();
}

TEST(CupsQueueWatch, QueueThatTakesNoJobsRefusesWithItsOwnMessage)
{
    CupsTestQueue queue;
    if (!queue.problem().empty())
        GTEST_SKIP() << queue.problem();
    const std::string name = queue.name().toStdString();
    EXPECT_EQ(CupsQueueWatch(name, "film").refusal(), "");

    struct Case {
        const char* what;
        std::function<bool()> set, undo;
        std::string refusal;
    };
    const Case cases[] = {
        {"rejecting", [&] { return queue.reject("out of film"); }, [&] { return queue.accept(); },
         "printer " + name + " is not accepting jobs: out of film"},
        {"stopped", [&] { return queue.disable("door open"); }, [&] { return queue.enable(); },
         "printer " + name + " is stopped: door open"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.set()) << c.what << ": " << queue.lastOutput();
        EXPECT_EQ(CupsQueueWatch(name, "film").refusal(), c.refusal) << c.what;
        ASSERT_TRUE(c.undo()) << c.what << ": " << queue.lastOutput();
        EXPECT_EQ(CupsQueueWatch(name, "film").refusal(), "") << c.what;
    }
    EXPECT_EQ(CupsQueueWatch("NoSuchQueue_" + name, "film").refusal().rfind("CUPS does not know", 0), 0u);
}

TEST(CupsQueueWatch, ConfirmsTheJobCupsQueuedAndNoticesOneItDidNot)
{
    CupsTestQueue queue;
    if (!queue.problem().empty())
        GTEST_SKIP() << queue.problem();
    const std::string name = queue.name().toStdString();

    const CupsQueueWatch taken(name, "film one");
    ASSERT_EQ(taken.refusal(), "");
    ASSERT_TRUE(handOver(queue.name(), "film one"));
    const base::Result<void> confirmed = taken.confirmQueued();
    EXPECT_TRUE(confirmed) << confirmed.reason();
    EXPECT_EQ(testing::waitForNewPdfs(queue.folder(), {}, 1, queue.name()).size(), 1);

    // The queue starts refusing after the check and before the hand-over: Qt
    // says nothing, CUPS queued nothing.
    const CupsQueueWatch lost(name, "film two");
    ASSERT_EQ(lost.refusal(), "");
    ASSERT_TRUE(queue.reject("out of film")) << queue.lastOutput();
    handOver(queue.name(), "film two");
    const base::Result<void> notQueued = lost.confirmQueued();
    EXPECT_FALSE(notQueued);
    const std::string& why = notQueued.reason();
    EXPECT_EQ(why.rfind("printer " + name + " queued no job", 0), 0u) << why;
    EXPECT_NE(why.find("not accepting jobs"), std::string::npos) << why;

    // An earlier job of the same title is not taken for a new one.
    ASSERT_TRUE(queue.accept()) << queue.lastOutput();
    const CupsQueueWatch again(name, "film one");
    EXPECT_FALSE(again.confirmQueued());
}

}  // namespace
}  // namespace vantorel::direct_composition
