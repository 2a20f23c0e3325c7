// Old run logs go; nothing else in LOG/ does, and no link is followed.

#include "base/run_log_retention.h"

#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace vantorel::base {
namespace {

namespace fs = std::filesystem;
using testing::Sandbox;
using testing::writeBytes;

TEST(RunLogRetention, LogsOlderThanTheKeptDaysGoAndNothingElse)
{
    Sandbox box;
    Sandbox elsewhere;
    const std::string log = box.file("LOG");
    for (const char* name : {"2026-12-10.log", "2026-9-11.log", "2026-9-10.log", "2025-12-31.log",
                             "2026-09-01.log", "notes.txt", "2026-1-1.log.bak", "2026-2-30x.log"})
        writeBytes(log + "/" + name, "x");
    fs::create_directories(log + "/2020-1-1.log");  // a folder, not a log
    writeBytes(elsewhere.file("target.log"), "keep me");
    ASSERT_EQ(::symlink(elsewhere.file("target.log").c_str(), (log + "/2020-5-5.log").c_str()), 0);

    // 90 days before 2026-12-10 is 2026-9-11: that one stays.
    EXPECT_EQ(removeOldRunLogs(box.path(), {2026, 12, 10, 0, 0, 5}, 90), 3);
    for (const char* kept : {"2026-12-10.log", "2026-9-11.log", "2026-09-01.log", "notes.txt",
                             "2026-1-1.log.bak", "2026-2-30x.log", "2020-1-1.log"})
        EXPECT_TRUE(fs::exists(fs::symlink_status(log + "/" + kept))) << kept;
    for (const char* gone : {"2026-9-10.log", "2025-12-31.log", "2020-5-5.log"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(log + "/" + gone))) << gone;
    EXPECT_TRUE(fs::exists(elsewhere.file("target.log")));
}

TEST(RunLogRetention, ALogFolderThatIsALinkIsNotEntered)
{
    Sandbox box;
    Sandbox elsewhere;
    writeBytes(elsewhere.file("2000-1-1.log"), "x");
    ASSERT_EQ(::symlink(elsewhere.path().c_str(), box.file("LOG").c_str()), 0);
    EXPECT_EQ(removeOldRunLogs(box.path(), {2026, 12, 10, 0, 0, 5}, 90), 0);
    EXPECT_TRUE(fs::exists(elsewhere.file("2000-1-1.log")));
}

}  // namespace
}  // namespace vantorel::base
