// The monthly purge on a real folder tree, with the date pinned.

#include "archive/monthly_purge.h"
#include "base/clock.h"
#include "support/memory_run_log.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::testing {
namespace {

namespace fs = std::filesystem;

class MonthlyPurgeTest : public ::testing::Test {
protected:
    // A film image below the export folder, e.g. film("2026/02/03/070809.tiff").
    void film(const std::string& relative) { writeBytes(root() + "/" + relative, "II*\0"); }
    bool exists(const std::string& relative) const
    {
        return fs::exists(fs::symlink_status(root() + "/" + relative));
    }

    void tick(int year, int month, int day)
    {
        clock.set({year, month, day, 10, 0, 0});
        for (const std::string& line : purge.run(root()))
            log.write(line);
    }

    std::string root() const { return box.path() + "/images"; }

    Sandbox box;
    Sandbox outside;
    base::FixedClock clock{{}};
    MemoryRunLog log;
    archive::MonthlyPurge purge{clock};
};

TEST_F(MonthlyPurgeTest, FifteenthOfMarchRemovesFebruaryOnly)
{
    film("2026/01/31/235959.tiff");
    film("2026/02/01/000000.tiff");
    film("2026/02/28/120000.tiff");
    film("2026/02/28/120000-1.tiff");
    film("2026/03/15/080000.tiff");
    tick(2026, 3, 15);
    EXPECT_FALSE(exists("2026/02"));
    EXPECT_TRUE(exists("2026/01/31/235959.tiff"));
    EXPECT_TRUE(exists("2026/03/15/080000.tiff"));
    EXPECT_TRUE(log.contains("清除上月胶片文件夹" + root() + "/2026/02"));
    EXPECT_TRUE(log.contains("上月胶片清除统计：" + root() + "/2026/02：删除文件3个、文件夹3个"));

    // Later ticks find nothing more to do and say nothing.
    tick(2026, 3, 15);
    EXPECT_EQ(log.lines.size(), 2u);
}

TEST_F(MonthlyPurgeTest, RootGivenWithATrailingSeparatorWorksTheSame)
{
    film("2026/02/01/000000.tiff");
    clock.set({2026, 3, 15, 10, 0, 0});
    for (const std::string& line : purge.run(root() + "//"))
        log.write(line);
    EXPECT_FALSE(exists("2026/02"));
    EXPECT_TRUE(log.contains("清除上月胶片文件夹" + root() + "/2026/02"));
}

TEST_F(MonthlyPurgeTest, JanuaryReachesBackToDecemberOnlyOnceTheNewYearHasAFolder)
{
    film("2026/11/30/090000.tiff");
    film("2026/12/31/235959.tiff");
    tick(2027, 1, 10);
    EXPECT_TRUE(exists("2026/12/31/235959.tiff"));

    film("2027/01/10/083000.tiff");  // the first film of the year
    tick(2027, 1, 10);
    EXPECT_FALSE(exists("2026/12"));
    EXPECT_TRUE(exists("2026/11/30/090000.tiff"));
    EXPECT_TRUE(exists("2027/01/10/083000.tiff"));
}

TEST_F(MonthlyPurgeTest, ReadOnlyFileKeepsItsFolderUntilALaterTick)
{
    film("2026/02/10/100000.tiff");
    film("2026/02/10/100001.tiff");
    film("2026/02/11/110000.tiff");
    const std::string kept = root() + "/2026/02/10/100001.tiff";
    fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    tick(2026, 3, 1);
    EXPECT_TRUE(exists("2026/02/10/100001.tiff"));
    EXPECT_FALSE(exists("2026/02/10/100000.tiff"));
    EXPECT_FALSE(exists("2026/02/11"));
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"上月胶片清除统计：" + root() +
                                       "/2026/02：删除文件2个、文件夹1个，保留只读文件1个"});

    tick(2026, 3, 1);  // still held
    EXPECT_TRUE(exists("2026/02/10/100001.tiff"));

    fs::permissions(kept, fs::perms::owner_write, fs::perm_options::add);
    tick(2026, 3, 1);
    EXPECT_FALSE(exists("2026/02"));
}

TEST_F(MonthlyPurgeTest, LinksAreRemovedAsLinksAndTheirTargetsStay)
{
    writeBytes(outside.file("films/01/keep.tiff"), "outside");
    writeBytes(outside.file("single.tiff"), "outside");
    film("2026/02/05/050505.tiff");
    fs::create_directory_symlink(outside.file("films/01"), root() + "/2026/02/06");  // a day folder
    fs::create_symlink(outside.file("single.tiff"), root() + "/2026/02/05/060606.tiff");
    fs::create_directories(root() + "/2026/02/07");
    fs::create_directory_symlink(outside.file("films"), root() + "/2026/02/07/deeper");

    tick(2026, 3, 20);
    EXPECT_FALSE(exists("2026/02"));
    EXPECT_EQ(readBytes(outside.file("films/01/keep.tiff")), "outside");
    EXPECT_EQ(readBytes(outside.file("single.tiff")), "outside");
}

TEST_F(MonthlyPurgeTest, FoldersThatLeadOutsideTheRootAreNotFollowed)
{
    // A year folder that is a link, and a month folder that is one.
    writeBytes(outside.file("2026/02/03/keep.tiff"), "outside");
    fs::create_directories(root());
    fs::create_directory_symlink(outside.file("2026"), root() + "/2026");
    tick(2026, 3, 20);
    EXPECT_TRUE(fs::exists(outside.file("2026/02/03/keep.tiff")));

    fs::remove(root() + "/2026");
    film("2026/03/01/010101.tiff");
    fs::create_directory_symlink(outside.file("2026/02"), root() + "/2026/02");
    tick(2026, 3, 20);
    EXPECT_FALSE(exists("2026/02"));  // the link itself
    EXPECT_TRUE(fs::exists(outside.file("2026/02/03/keep.tiff")));
}

TEST_F(MonthlyPurgeTest, EmptyOrRelativeExportFolderPurgesNothing)
{
    film("2026/02/03/030303.tiff");
    const fs::path before = fs::current_path();
    fs::current_path(box.path());
    clock.set({2026, 3, 20, 10, 0, 0});
    for (const char* folder : {"", "images", "./images"})
        purge.run(folder);
    fs::current_path(before);
    EXPECT_TRUE(exists("2026/02/03/030303.tiff"));
}

TEST_F(MonthlyPurgeTest, MissingFoldersEndTheTickQuietly)
{
    tick(2026, 3, 20);  // no export folder at all
    fs::create_directories(root());
    tick(2026, 3, 20);  // no year folder
    film("2026/03/01/010101.tiff");
    tick(2026, 3, 20);  // no month folder
    EXPECT_TRUE(exists("2026/03/01/010101.tiff"));
    EXPECT_TRUE(log.lines.empty());
}

// Deeper than any path may be long: the walk keeps one folder open at a
// time and climbs back through "..", so the whole tree goes.
TEST_F(MonthlyPurgeTest, ATreeFiveThousandFoldersDeepIsRemoved)
{
    film("2026/03/01/080000.tiff");
    film("2026/02/01/000000.tiff");
    int fd = ::open((root() + "/2026/02/01").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < 5000; ++level) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0) << level;
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        ASSERT_GE(fd, 0) << level;
    }
    ::close(::openat(fd, "deep.tiff", O_WRONLY | O_CREAT, 0644));
    ::close(fd);

    tick(2026, 3, 15);
    EXPECT_FALSE(exists("2026/02"));
    EXPECT_TRUE(log.contains("上月胶片清除统计：" + root() + "/2026/02：删除文件2个、文件夹5002个"));
}

// A day folder swapped for a link to somewhere else while the purge runs
// never leads it there.
TEST_F(MonthlyPurgeTest, ADayFolderSwappedForALinkMidPurgeLeavesTheOutsideAlone)
{
    film("2026/03/01/080000.tiff");
    for (int day = 1; day <= 20; ++day)
        for (int i = 0; i < 300; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "2026/02/%02d/%06d.tiff", day, i);
            film(name);
        }
    for (int i = 0; i < 500; ++i)
        writeBytes(outside.path() + "/keep" + std::to_string(i) + ".tiff", "II*\0");
    fs::create_directories(box.path() + "/moved");

    std::atomic<bool> purging{true};
    std::thread swapper([&] {
        // Day after day: the real folder goes elsewhere, a link takes its place.
        for (int day = 20; day >= 1 && purging; --day) {
            char name[16];
            std::snprintf(name, sizeof name, "%02d", day);
            const std::string folder = root() + "/2026/02/" + name;
            if (::rename(folder.c_str(), (box.path() + "/moved/" + name).c_str()) == 0)
                ::symlink(outside.path().c_str(), folder.c_str());
        }
    });
    tick(2026, 3, 15);
    purging = false;
    swapper.join();
    tick(2026, 3, 15);  // whatever the first tick met, the next finds links only

    std::size_t left = 0;
    for (const auto& entry : fs::directory_iterator(outside.path()))
        left += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(left, 500u);
    EXPECT_FALSE(exists("2026/02"));
}

}  // namespace
}  // namespace vantorel::testing
