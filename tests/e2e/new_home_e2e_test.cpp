// A new home as scripts/run and the package prepare it (runtime/ and what the
// build adds), with nothing changed by hand: the program starts headless on
// it, its first film on the built-in "FilmFile" printer carries the shipped
// hospital-name header, and its about page and window title name the version
// that `vantorel --version` prints.

#include "console_program.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace vantorel::testing {
namespace {

QString toolOutput(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class NewHomeE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_.copyRuntime();
        home_.copyBuiltRuntime();
        // Only the port differs from a new home: tests run side by side.
        port_ = freePort();
        home_.setting(settings::files::prtIni, "PrtIni", "Port", std::to_string(port_));
        program_ = std::make_unique<RunningProgram>(home_, QString());
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home_.reportPath()); }))
            << program_->errorOutput().toStdString();
        ASSERT_TRUE(waitFor([&] { return answersEcho(port_); })) << home_.runLog().toStdString();
    }

    ConsoleHome home_;
    int port_ = 0;
    std::unique_ptr<RunningProgram> program_;
};

TEST_F(NewHomeE2e, FirstFilmCarriesTheShippedHeader)
{
    ASSERT_EQ(sendFilm(port_, {"--format", "STANDARD\\1,1"}), 0) << home_.runLog().toStdString();
    const QStringList films = filmFiles(home_);
    ASSERT_EQ(films.size(), 1);
    // Qt's PDF maps some shared CJK glyphs back to their Kangxi-radical
    // twins; compatibility normalisation folds those back.
    const QString text = toolOutput("pdftotext", {home_.path() + "/FilmFile/" + films.front(), "-"})
                             .normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(text.contains(QStringLiteral("医院名称"))) << text.toStdString();
    const QString fonts = toolOutput("pdffonts", {home_.path() + "/FilmFile/" + films.front()});
    EXPECT_TRUE(fonts.contains(QRegularExpression("NotoSansCJK\\w*-Bold"))) << fonts.toStdString();
    EXPECT_FALSE(home_.runLog().contains(QStringLiteral("打印失败"))) << home_.runLog().toStdString();
}

TEST_F(NewHomeE2e, AboutPageAndTitleNameTheVersionsTheProgramPrints)
{
    const ProgramResult version = runProgram(programPath("vantorel"), {"--version"}, home_.environment());
    ASSERT_EQ(version.exitCode, 0);
    const QStringList printed = QString::fromStdString(version.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(printed.size(), 3) << version.out;
    ASSERT_TRUE(printed[0].startsWith("vantorel ")) << version.out;
    const QString programVersion = printed[0].mid(9);

    QStringList about;
    for (int line = 1; line <= 8; ++line) {
        const QString state = program_->command(QString("state aboutPage/aboutLine%1").arg(line));
        about << state.mid(state.indexOf("text=") + 5);
    }
    const QString aboutText = about.join('\n');
    EXPECT_TRUE(about[0].contains("Vantorel")) << aboutText.toStdString();
    EXPECT_EQ(about[1], "版本：" + programVersion);
    EXPECT_EQ(about[2], printed[1]) << "DCMTK";
    // The Qt the program runs with is the one it was built with here.
    EXPECT_EQ(about[3], printed[2]) << "Qt";
    EXPECT_TRUE(about[4].startsWith("许可：")) << aboutText.toStdString();
    EXPECT_TRUE(aboutText.contains("docs/conformance.md")) << aboutText.toStdString();
    EXPECT_TRUE(aboutText.contains("/usr/share/doc/vantorel/conformance.md")) << aboutText.toStdString();
    EXPECT_EQ(home_.report()["title"], "Vantorel " + programVersion);
}

}  // namespace
}  // namespace vantorel::testing
