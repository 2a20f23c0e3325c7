// The monthly purge on a real folder tree, with the date pinned.

#include "archive/film_folders.h"
#include "archive/monthly_purge.h"
#include "console/clock.h"
#include "console/sandbox.h"
#include "support/memory_run_log.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantorel::testing {
namespace {

namespace fs = std::filesystem;

class MonthlyPurgeTest : public ::testing::Test {
protected:
    // A film image below the export folder, e.g. film("2026/02/03/070809.tiff").
    void film(const std::string& relative) { writeBytes(root() + "/" + relative, "II*\0"); }
    bool exists(const std::string& relative) const { return fs::exists(fs::symlink_status(root() + "/" + relative)); }

    void tick(int year, int month, int day)
    {
        clock.set({year, month, day, 10, 0, 0});
        purge.run(root());
    }

    std::string root() const { return box.path() + "/images"; }

    Sandbox box;
    Sandbox outside;
    console::FixedClock clock{{}};
    archive::DiskFilmFolders folders;
    MemoryRunLog log;
    archive::MonthlyPurge purge{clock, folders, log};
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

    // Later ticks find nothing more to do and say nothing.
    tick(2026, 3, 15);
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(MonthlyPurgeTest, RootGivenWithATrailingSeparatorWorksTheSame)
{
    film("2026/02/01/000000.tiff");
    clock.set({2026, 3, 15, 10, 0, 0});
    purge.run(root() + "//");
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
    EXPECT_TRUE(log.lines.empty());

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

}  // namespace
}  // namespace vantorel::testing
