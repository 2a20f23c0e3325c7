// The hospital-name editor in the real program under a private X server:
// opened from the unlocked print page, a name saved in bold, and the next
// film printed on "FilmFile" carrying it without a restart. Screenshots are
// kept in the build folder's screenshots/.

#include "base/gbk.h"
#include "window_e2e.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace vantorel::testing {
namespace {

const QString editorTitle = QStringLiteral("医院名称设置");

QString toolOutput(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of a PDF page with their boxes, in points.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0;
};
QList<PdfWord> pdfWords(const QString& pdf)
{
    const QString html = toolOutput("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<PdfWord> words;
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        words.append({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

class HospitalNameE2e : public WindowE2e {
protected:
    void SetUp() override
    {
        WindowE2e::SetUp();
        if (IsSkipped())
            return;
        home_.copyRuntime();
        program_ = std::make_unique<RunningProgram>(home_, x_->display());
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(home_.reportPath()); }))
            << program_->errorOutput().toStdString();
    }

    QString command(const QString& line) { return program_->command(line); }

    // Waits for the dialog with this title to wait for an answer, and gives it.
    void answer(const QString& title, const QString& how)
    {
        ASSERT_TRUE(waitFor([&] { return command("modal") == "modal=" + title; }))
            << title.toStdString() << ": " << command("modal").toStdString();
        ASSERT_EQ(command("answer " + how), "ok") << how.toStdString();
    }

    int editorWindows() const { return x_->windowTree().count("\"" + editorTitle + "\":"); }

    QString hospitalIni() const
    {
        return QString::fromStdString(base::gbkToUtf8(home_.readFile("医院名称/Hospital.ini").toStdString()));
    }

    std::unique_ptr<RunningProgram> program_;
};

TEST_F(HospitalNameE2e, NameSavedInTheEditorIsOnTheNextFilm)
{
    // The button is in the print page's locked group.
    ASSERT_EQ(command("page 打印设置"), "ok");
    EXPECT_EQ(command("click printPage/headerEditor"), "disabled");
    ASSERT_EQ(command("type printPage/password qarvo517"), "ok");
    ASSERT_TRUE(command("state printPage/headerEditor").startsWith("enabled=1"));
    ASSERT_EQ(command("click printPage/headerEditor"), "ok");
    ASSERT_TRUE(waitFor([&] { return x_->viewableWindowWithTitle(editorTitle); }))
        << x_->windowTree().toStdString();
    // Opening it again raises the one window; the main window stays usable.
    ASSERT_EQ(command("click printPage/headerEditor"), "ok");
    ASSERT_EQ(command("page 关于"), "ok");
    EXPECT_EQ(editorWindows(), 1);
    EXPECT_EQ(command("modal"), "modal=");

    ASSERT_EQ(command("type Frmhname/hospitalName 市第三医院放射科"), "ok");
    ASSERT_EQ(command("type Frmhname/leftStart 1200"), "ok");
    ASSERT_EQ(command("type Frmhname/topStart 100"), "ok");
    ASSERT_EQ(command("click Frmhname/textStyle"), "ok");
    // Qt's own dialogs speak Chinese too.
    answer("选择字体", "font Noto Sans CJK SC|20|1");
    answer("选择颜色", "colour #c00000");
    EXPECT_TRUE(command("state Frmhname/styleText").contains("粗体"));
    ASSERT_EQ(command("click Frmhname/savePicture"), "ok");
    ASSERT_TRUE(waitFor([&] { return command("modal") == "modal=请确认"; }));
    EXPECT_EQ(command("buttons"), "buttons=是(&Y)|否(&N)");
    answer("请确认", "yes");
    ASSERT_TRUE(waitFor([&] { return hospitalIni().contains("粗体=True"); })) << hospitalIni().toStdString();
    // On screen: the preview and the style line show the name's dark red.
    const QImage shot = x_->screenshot(screenshotDir + "/hospital_name_editor.png");
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 300);

    EXPECT_TRUE(
        hospitalIni().contains("[Hospital]\r\n医院名称=市第三医院放射科\r\n左起始点=1200\r\n上起始点=100\r\n"
                               "颜色=192\r\n字体=Noto Sans CJK SC\r\n字号=20\r\n粗体=True\r\n"))
        << hospitalIni().toStdString();
    const QImage picture(home_.path() + "/yy.bmp");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(home_.readFile("yy.bmp").left(2), "BM");
    EXPECT_EQ(picture.size(), QSize(600, 64)) << "the shipped base picture";
    // The name in dark red from (93, 13) on: 1400 and 200 twips at 15 twips a pixel.
    int ink = 0, outside = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(0xc0, 0, 0))
                ++(x >= 93 && y >= 13 ? ink : outside);
    EXPECT_GT(ink, 200);
    EXPECT_EQ(outside, 0);

    // The next film, without a restart.
    ASSERT_EQ(sendFilm(port_), 0);
    const QStringList films = filmFiles(home_);
    ASSERT_EQ(films.size(), 1);
    const QString pdf = home_.path() + "/FilmFile/" + films.front();
    QString header;
    double left = -1, top = -1;
    for (const PdfWord& word : pdfWords(pdf)) {
        if (left < 0) {
            left = word.xMin;
            top = word.yMin;
        }
        if (std::abs(word.yMin - top) < 2)
            header += word.text;
    }
    // Qt's PDF maps some shared CJK glyphs back to their Kangxi-radical twins
    // (U+2F00 for 一); compatibility normalisation folds those back.
    header = header.normalized(QString::NormalizationForm_KC);
    EXPECT_EQ(header, "市第三医院放射科");
    // Left margin 1 mm (56.7 twips) + hleft + 980 twips, in points.
    EXPECT_NEAR(left, (56.7 + 1200 + 980) / 20, 1.0);
    EXPECT_NEAR(top, (56.7 + 100) / 20, 6.0);
    const QString fonts = toolOutput("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains(QRegularExpression("NotoSansCJK\\w*-Bold"))) << fonts.toStdString();

    // Custom-picture mode: the key is written at once and editing stops.
    ASSERT_EQ(command("click Frmhname/customPicture"), "ok");
    ASSERT_TRUE(waitFor([&] { return command("state Frmhname/savePicture").startsWith("enabled=0"); }));
    for (const char* name : {"hospitalName", "textStyle", "leftStart", "topStart", "undoPicture"})
        EXPECT_TRUE(command(QString("state Frmhname/") + name).startsWith("enabled=0")) << name;
    EXPECT_TRUE(hospitalIni().contains("[自定义图片]\r\n图片医院名称=1\r\n")) << hospitalIni().toStdString();
    x_->screenshot(screenshotDir + "/hospital_name_editor_custom_picture.png");
}

}  // namespace
}  // namespace vantorel::testing
