#include "base/run_log.h"

#include "base/journal_run_log.h"
#include "base/operator_messages.h"
#include "base/text.h"
#include "support/memory_run_log.h"
#include "support/other_thread.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantorel::base {
namespace {

using testing::readBytes;
using testing::Sandbox;
using testing::writeBytes;

TEST(RunLog, FileNameAndTimestampAreNotPadded)
{
    struct Case {
        LocalDateTime time;
        const char* file;
        const char* stamp;
    };
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

TEST(RunLog, AValueWithLineBreaksOrEscapesCannotForgeALine)
{
    Sandbox box;
    FixedClock clock({2014, 3, 5, 7, 8, 9});
    FileRunLog log(box.path(), clock);
    ASSERT_TRUE(log.write("FilmSize=8INX10IN\r\n[2026/12/10 09:00:00]    FORGED\x1b[2J"));
    EXPECT_EQ(readBytes(box.file("LOG/2014-3-5.log")),
              "[2014/3/5 7:08:09]    FilmSize=8INX10IN\\r\\n[2026/12/10 09:00:00]    FORGED\\x1b[2J\r\n");
}

TEST(RunLog, LoggedValuesAreCutAt256BytesWithTheirLength)
{
    EXPECT_EQ(loggedValue("8INX10IN"), "8INX10IN");
    EXPECT_EQ(loggedValue(std::string(256, 'A')), std::string(256, 'A'));
    EXPECT_EQ(loggedValue(std::string(20 * 1024 * 1024, 'A')), std::string(256, 'A') + "...(20971520 bytes)");
    // Never half a character: 255 ASCII bytes, then a three-byte one.
    EXPECT_EQ(loggedValue(std::string(255, 'A') + "胶片"), std::string(255, 'A') + "...(261 bytes)");
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

TEST(JournalRunLog, EveryLineGoesToTheFileAndAsOneUtf8LineToTheStream)
{
    Sandbox box;
    FixedClock clock({2014, 3, 5, 7, 8, 9});
    FileRunLog file(box.path(), clock);
    std::ostringstream err;
    JournalRunLog log(file, err);
    ASSERT_TRUE(log.write("监听端口=10000"));
    ASSERT_TRUE(log.write("first\nsecond"));
    EXPECT_EQ(err.str(), "监听端口=10000\nfirst\\nsecond\n");
    EXPECT_EQ(readBytes(box.file("LOG/2014-3-5.log")),
              "[2014/3/5 7:08:09]    \xbc\xe0\xcc\xfd\xb6\xcb\xbf\xda=10000\r\n"
              "[2014/3/5 7:08:09]    first\\nsecond\r\n");  // one entry, one line in the file too

    // A log file that cannot be written is reported; the journal still gets the line.
    writeBytes(box.file("broken/LOG"), "a file where the folder should be");
    FileRunLog brokenFile(box.file("broken"), clock);
    JournalRunLog brokenLog(brokenFile, err);
    EXPECT_FALSE(brokenLog.write("lost"));
    EXPECT_NE(err.str().find("\nlost\n"), std::string::npos);
}

TEST(JournalRunLog, LinesAreEscapedToOnePrintableUtf8Line)
{
    struct Case {
        const char* message;
        const char* line;
    };
    const Case cases[] = {
        {"打印计数=12", "打印计数=12"},
        {"a\r\nb\nc\rd", "a\\r\\nb\\nc\\rd"},
        {"tab\there", "tab\\there"},
        {"esc\x1b[1m del\x7f", "esc\\x1b[1m del\\x7f"},
        {"C1 \xc2\x85 next line", "C1 \\xc2\\x85 next line"},
        {"GBK \xbc\xe0 bytes", "GBK \\xbc\\xe0 bytes"},
        {"cut \xe7\x9b", "cut \\xe7\\x9b"},
        {"overlong \xc0\xaf, surrogate \xed\xa0\x80", "overlong \\xc0\\xaf, surrogate \\xed\\xa0\\x80"},
        {"path d:\\images \xf0\x9f\x98\x80", "path d:\\images \xf0\x9f\x98\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(journalLine(c.message), c.line) << c.message;
    EXPECT_EQ(journalLine(std::string("nul\0byte", 8)), "nul\\x00byte");
}

TEST(OperatorMessages, AMessageWithLineBreaksIsOneLineOnTheStream)
{
    testing::MemoryRunLog log;
    std::ostringstream err;
    LoggedOperatorMessages messages(log, err);
    messages.show("第一行\r\n第二行", "标题", MessageIcon::Warning);
    EXPECT_EQ(log.lines, std::vector<std::string>{"第一行\r\n第二行"});
    EXPECT_EQ(err.str(), "标题: 第一行\\r\\n第二行\n");
}

TEST(FileRunLogDeathTest, AWriteFromAnotherThreadStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sandbox box;
    FixedClock clock({2014, 3, 5, 7, 8, 9});
    FileRunLog log(box.path(), clock);
    EXPECT_DEATH(testing::onAnotherThread([&log] { log.write("from elsewhere"); }),
                 std::string("FileRunLog::write ") + testing::offOwnerThread);
    EXPECT_TRUE(log.write("from the owner"));
}

}  // namespace
}  // namespace vantorel::base
