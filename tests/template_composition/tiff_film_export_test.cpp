#include "base/clock.h"
#include "template_composition/qt/tiff_film_export.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace vantorel::template_composition {
namespace {

namespace dc = direct_composition;

// A portrait page of 12000 x 16000 twips, 1000-twip margins, one grey picture
// filling the area inside the margins.
dc::FilmPage greyPage(ReportPageSettings& settings)
{
    settings.paperWidth = 12000;
    settings.paperHeight = 16000;
    settings.marginLeft = settings.marginTop = settings.marginRight = settings.marginBottom = 1000;
    dc::FilmPage page;
    page.pageWidth = 12000;
    page.pageHeight = 16000;
    page.originX = page.originY = 1000;
    dc::DrawOp op;
    op.picture.width = op.picture.height = 8;
    op.picture.pixels = std::make_shared<const std::vector<std::uint8_t>>(64, 77);
    op.rect = {0, 0, 10000, 14000};
    page.ops.push_back(op);
    return page;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(TiffFilmExport, WritesDatedGreyFilmsAndNumbersSameSecondOnes)
{
    QTemporaryDir home;
    ReportPageSettings settings;
    const QImage image = renderExportImage(greyPage(settings), settings);
    ASSERT_EQ(image.format(), QImage::Format_Grayscale8);
    const std::string root = home.filePath("images").toStdString();
    const base::LocalDateTime at{2024, 3, 5, 7, 8, 9};
    QDir().mkpath(home.filePath("images/2024/03"));  // year and month are there

    const auto first = exportFilmImage(image, root, at);
    ASSERT_TRUE(first) << first.reason();
    EXPECT_EQ(first->folder, root + "/2024/03/05");
    EXPECT_EQ(first->file, "070809.tiff");
    const auto second = exportFilmImage(image, root, at);
    ASSERT_TRUE(second) << second.reason();
    EXPECT_EQ(second->file, "070809-1.tiff");
    EXPECT_EQ(filesIn(QString::fromStdString(first->folder)), (QStringList{"070809-1.tiff", "070809.tiff"}));

    QImageReader reader(QString::fromStdString(first->folder + "/" + first->file));
    EXPECT_EQ(reader.format(), "tiff");
    const QImage written = reader.read();
    ASSERT_FALSE(written.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(written.size(), QSize(2400, 3200));
    EXPECT_EQ(written.format(), QImage::Format_Grayscale8);
    // 10000 x 14000 twips scaled alike into 2400 x 3200: 2285.7 wide, centred.
    EXPECT_EQ(qGray(written.pixel(1200, 1600)), 77);
    EXPECT_EQ(qGray(written.pixel(20, 1600)), 255);
    EXPECT_EQ(qGray(written.pixel(100, 1600)), 77);
}

TEST(TiffFilmExport, ColourPagesAreRgb)
{
    ReportPageSettings settings;
    dc::FilmPage page = greyPage(settings);
    page.ops.push_back({});
    page.ops.back().picture = dc::Picture::solid(200, 10, 10);
    page.ops.back().rect = {0, 0, 100, 100};
    EXPECT_EQ(renderExportImage(page, settings).format(), QImage::Format_RGB32);
}

// Film files are the service's and its group's under the unit's umask:
// the TIFF follows the umask like the PDFs (0640 under 027), not 0600.
TEST(TiffFilmExport, AFilmFollowsTheProcessUmask)
{
    QTemporaryDir home;
    ReportPageSettings settings;
    const QImage image = renderExportImage(greyPage(settings), settings);
    const mode_t previous = ::umask(027);
    const auto film = exportFilmImage(image, home.filePath("images").toStdString(), {2024, 3, 5, 7, 8, 9});
    ::umask(previous);
    ASSERT_TRUE(film) << film.reason();
    struct stat status {};
    ASSERT_EQ(::stat((film->folder + "/" + film->file).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(filesIn(QString::fromStdString(film->folder)),
              QStringList{"070809.tiff"});  // no temporary left
}

// A file size limit makes the disk give out partway through the film: the
// first megabyte goes to disk, the next write is refused (EFBIG), as a full
// disk refuses it (ENOSPC). While the limit holds, SIGXFSZ is ignored so the
// write fails instead of the process ending.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool ok_ = false;
};

TEST(TiffFilmExport, AWriteThatFailsPartwayLeavesNoFilmAndGivesTheSystemsReason)
{
    QTemporaryDir home;
    ReportPageSettings settings;
    const QImage image = renderExportImage(greyPage(settings), settings);  // 7.7 MB as a TIFF
    const std::string root = home.filePath("images").toStdString();
    const base::LocalDateTime at{2024, 3, 5, 7, 8, 9};
    std::string error;
    {
        FileSizeLimit limit(1 << 20);
        ASSERT_TRUE(limit.ok());
        const auto refused = exportFilmImage(image, root, at);
        EXPECT_FALSE(refused);
        error = refused.reason();
    }
    EXPECT_NE(error.find("cannot write film image " + root + "/2024/03/05/070809.tiff"), std::string::npos)
        << error;
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    // Neither the film's name nor the partial temporary file stays.
    const QStringList left = filesIn(home.filePath("images/2024/03/05"));
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();

    // The disk has room again: the film takes its own name, not a suffixed one.
    const auto film = exportFilmImage(image, root, at);
    ASSERT_TRUE(film) << film.reason();
    EXPECT_EQ(film->file, "070809.tiff");
}

TEST(TiffFilmExport, AFolderThatCannotBeMadeIsReportedAndNothingStays)
{
    QTemporaryDir home;
    QFile blocker(home.filePath("images"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the root should be
    blocker.close();
    ReportPageSettings settings;
    const QImage image = renderExportImage(greyPage(settings), settings);
    const auto blocked = exportFilmImage(image, home.filePath("images").toStdString(), {2024, 3, 5, 7, 8, 9});
    EXPECT_FALSE(blocked);
    const std::string& error = blocked.reason();
    EXPECT_NE(error.find("images"), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;

    // A root whose parent is missing: the root is one folder, made only when
    // its parent is there.
    const auto orphaned =
        exportFilmImage(image, home.filePath("gone/images").toStdString(), {2024, 3, 5, 7, 8, 9});
    EXPECT_FALSE(orphaned);
    EXPECT_NE(orphaned.reason().find("No such file or directory"), std::string::npos) << orphaned.reason();
    EXPECT_EQ(filesIn(home.path()), QStringList{"images"});
}

}  // namespace
}  // namespace vantorel::template_composition
