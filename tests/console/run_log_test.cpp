#include "console/run_log.h"

#include "console/operator_messages.h"
#include "sandbox.h"
#include "support/memory_run_log.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantorel::console {
namespace {

using testing::readBytes;
using testing::Sandbox;
using testing::writeBytes;

TEST(RunLog, FileNameAndTimestampAreNotPadded)
{
    struct Case { LocalDateTime time; const char* file; const char* stamp; };
    const Case cases[] = {
        {{2014, 3, 5, 7, 8, 9}, "2014-3-5.log", "2014/3/5 7:08:09"},
        {{2026, 12, 31, 23, 59, 0}, "2026-12-31.log", "2026/12/31 23:59:00"},
        {{2014, 10, 1, 0, 0, 5}, "2014-10-1.log", "2014/10/1 0:00:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileRunLog::fileName(c.time), c.file) << c.file;
        EXPECT_EQ(FileRunLog::timestamp(c.time), c.stamp) << c.stamp;
    }
    EXPECT_EQ(FileRunLog::formatLine({2014, 3, 5, 7, 8, 9}, "x"), "[2014/3/5 7:08:09]    x");
}

TEST(RunLog, AppendsGbkLinesToTheDaysFile)
{
    Sandbox box;
    FixedClock clock({2014, 3, 5, 7, 8, 9});
    FileRunLog log(box.path(), clock);
    ASSERT_TRUE(log.write("监听端口=10000"));
    clock.set({2014, 3, 5, 7, 8, 10});
    ASSERT_TRUE(log.write("监听端口状态=True"));
    EXPECT_EQ(readBytes(box.file("LOG/2014-3-5.log")),
              "[2014/3/5 7:08:09]    \xbc\xe0\xcc\xfd\xb6\xcb\xbf\xda=10000\r\n"
              "[2014/3/5 7:08:10]    \xbc\xe0\xcc\xfd\xb6\xcb\xbf\xda\xd7\xb4\xcc\xac=True\r\n");

    clock.set({2014, 3, 6, 0, 0, 1});
    ASSERT_TRUE(log.write("next day"));
    EXPECT_EQ(readBytes(box.file("LOG/2014-3-6.log")), "[2014/3/6 0:00:01]    next day\r\n");
    EXPECT_EQ(log.filePathFor({2014, 3, 6}), box.file("LOG/2014-3-6.log"));
}

TEST(RunLog, FailedWriteIsReportedAsFalse)
{
    Sandbox box;
    writeBytes(box.file("LOG"), "a file where the folder should be");
    FixedClock clock({2014, 3, 5, 7, 8, 9});
    FileRunLog log(box.path(), clock);
    EXPECT_FALSE(log.write("lost"));
}

TEST(OperatorMessages, UnattendedMessagesGoToLogAndStreamWithoutWaiting)
{
    testing::MemoryRunLog log;
    std::ostringstream err;
    LoggedOperatorMessages messages(log, err);
    messages.show("配置文件未找到，打印机设置无效：/x", "打印机设置无效", MessageIcon::Information);
    EXPECT_EQ(log.lines, std::vector<std::string>{"配置文件未找到，打印机设置无效：/x"});
    EXPECT_EQ(err.str(), "打印机设置无效: 配置文件未找到，打印机设置无效：/x\n");
}

}  // namespace
}  // namespace vantorel::console
