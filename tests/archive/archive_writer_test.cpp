// The archive writer's thread and spool, over a stand-in database that can be
// switched off: rows arrive in film order, nothing printed is left out.

#include "archive/archive_writer.h"

#include "base/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace vantorel::archive {
namespace {

// Polls `done` until it holds or `timeoutMs` has passed (no Qt here).
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class StandInDatabase final : public FilmRowWriter {
public:
    base::Result<void> writeRow(const FilmRow& row) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++attempts_;
        if (!up_)
            return base::Failure{"Can't connect to server on '127.0.0.1' (115)"};
        rows_.push_back(row.filmPath);
        return {};
    }
    void setUp(bool up)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        up_ = up;
    }
    std::vector<std::string> rows() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return rows_;
    }
    int attempts() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return attempts_;
    }

private:
    mutable std::mutex mutex_;
    bool up_ = true;
    int attempts_ = 0;
    std::vector<std::string> rows_;
};

class ArchiveWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vantorel-archive-writer-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::unique_ptr<ArchiveWriter> start()
    {
        ArchiveWriter::Options options{spoolPath(), std::chrono::milliseconds(5),
                                       std::chrono::milliseconds(40)};
        ArchiveWriter::Reports reports{[this](const std::string& line) {
                                           std::lock_guard<std::mutex> lock(mutex_);
                                           log_.push_back(line);
                                       },
                                       [this](std::size_t waiting) {
                                           std::lock_guard<std::mutex> lock(mutex_);
                                           waitingSeen_.push_back(waiting);
                                       }};
        auto writer = std::make_unique<ArchiveWriter>(database_, clock_, options, reports);
        writer->start();
        return writer;
    }
    std::string spoolPath() const { return folder_ + "/LOG/archive-spool"; }
    std::string spool() const
    {
        std::ifstream in(spoolPath());
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> log() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return log_;
    }
    std::size_t lastWaitingSeen() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return waitingSeen_.empty() ? 999 : waitingSeen_.back();
    }
    static void save(ArchiveWriter& writer, const std::string& file)
    {
        EXPECT_TRUE(writer.SaveFilmDB("/srv/images/2026/12/10", file));
    }
    static std::vector<std::string> paths(std::initializer_list<const char*> files)
    {
        std::vector<std::string> all;
        for (const char* file : files)
            all.push_back(std::string("/srv/images/2026/12/10/") + file);
        return all;
    }

    std::string folder_;
    base::FixedClock clock_{base::LocalDateTime{2026, 12, 10, 9, 8, 7}};
    StandInDatabase database_;
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
    std::vector<std::size_t> waitingSeen_;
};

TEST_F(ArchiveWriterTest, RowsAreWrittenInFilmOrder)
{
    auto writer = start();
    for (const char* file : {"090807.tiff", "090807-1.tiff", "090808.tiff"})
        save(*writer, file);
    ASSERT_TRUE(waitFor([&] { return database_.rows().size() == 3; }, 10000));
    EXPECT_EQ(database_.rows(), paths({"090807.tiff", "090807-1.tiff", "090808.tiff"}));
    EXPECT_TRUE(waitFor([&] { return writer->waiting() == 0 && lastWaitingSeen() == 0; }, 10000));
    EXPECT_FALSE(std::filesystem::exists(spoolPath()));
    EXPECT_TRUE(log().empty());
}

TEST_F(ArchiveWriterTest, RowsOfAnOutageWaitInTheSpoolAndArriveInOrderWhenTheDatabaseAnswers)
{
    database_.setUp(false);
    auto writer = start();
    for (const char* file : {"a.tiff", "b.tiff", "c.tiff"})
        save(*writer, file);
    const std::string spooled = "2026-12-10 09:08:07\t/srv/images/2026/12/10/a.tiff\n"
                                "2026-12-10 09:08:07\t/srv/images/2026/12/10/b.tiff\n"
                                "2026-12-10 09:08:07\t/srv/images/2026/12/10/c.tiff\n";
    ASSERT_TRUE(waitFor([&] { return spool() == spooled; }, 10000)) << spool();
    EXPECT_EQ(writer->waiting(), 3u);
    // Retried with back-off, and the outage is said once, not at every try.
    ASSERT_TRUE(waitFor([&] { return database_.attempts() >= 5; }, 10000));
    ASSERT_EQ(log().size(), 1u);
    EXPECT_EQ(log()[0],
              "film /srv/images/2026/12/10/a.tiff not yet recorded in the archive: Can't connect to "
              "server on '127.0.0.1' (115); the row waits in " +
                  spoolPath());

    database_.setUp(true);
    save(*writer, "d.tiff");
    ASSERT_TRUE(waitFor([&] { return writer->waiting() == 0; }, 10000));
    EXPECT_EQ(database_.rows(), paths({"a.tiff", "b.tiff", "c.tiff", "d.tiff"}));
    EXPECT_FALSE(std::filesystem::exists(spoolPath()));
    EXPECT_TRUE(waitFor([&] { return lastWaitingSeen() == 0; }, 10000));
}

TEST_F(ArchiveWriterTest, AStopKeepsQueuedRowsAndTheNextRunWritesThem)
{
    database_.setUp(false);
    {
        auto writer = start();
        for (const char* file : {"a.tiff", "b.tiff"})
            save(*writer, file);
        writer->stop();
    }
    EXPECT_EQ(spool(),
              "2026-12-10 09:08:07\t/srv/images/2026/12/10/a.tiff\n"
              "2026-12-10 09:08:07\t/srv/images/2026/12/10/b.tiff\n");

    database_.setUp(true);
    auto next = start();
    EXPECT_TRUE(waitFor([&] { return database_.rows().size() == 2; }, 10000));
    EXPECT_EQ(database_.rows(), paths({"a.tiff", "b.tiff"}));
    EXPECT_TRUE(waitFor([&] { return !std::filesystem::exists(spoolPath()); }, 10000));
}

TEST(ArchiveSpoolLine, RoundTripsAnyPathAndRefusesWhatIsNoRow)
{
    const FilmRow row{"2026-12-10 09:08:07", "/srv/a\\b\tc\nd\re/070809.tiff"};
    FilmRow back;
    ASSERT_TRUE(ArchiveWriter::parseSpoolLine(ArchiveWriter::spoolLine(row), back));
    EXPECT_EQ(back.prtdate, row.prtdate);
    EXPECT_EQ(back.filmPath, row.filmPath);
    EXPECT_EQ(ArchiveWriter::spoolLine(row).find('\n'), std::string::npos);

    for (const char* line : {"", "2026-12-10 09:08:07", "2026-12-10 09:08:07\t", "2026-12-10\t/srv/a.tiff",
                             "2026-12-10 09:08:07\t/srv/a\\q.tiff", "2026-12-10 09:08:07\t/srv/a\\"})
        EXPECT_FALSE(ArchiveWriter::parseSpoolLine(line, back)) << line;
}

}  // namespace
}  // namespace vantorel::archive
