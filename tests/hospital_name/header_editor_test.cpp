#include "hospital_name/header_editor.h"

#include "base/gbk.h"
#include "settings/header_settings.h"
#include "settings/settings_store.h"
#include "support/memory_run_log.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <deque>

namespace vantorel::hospital_name {
namespace {

using testing::readBytes;
using testing::Sandbox;
using testing::writeBytes;

// Answers the editor's questions from a list and records them.
class AnsweredDialogs final : public EditorDialogs {
public:
    bool askYesNo(const std::string& title, const std::string& text) override
    {
        asked.push_back(title + "|" + text);
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    NameStyle chooseFont(const NameStyle& current) override
    {
        fontStartedFrom = current;
        return font;
    }
    std::uint32_t chooseColour(std::uint32_t) override { return colour; }

    std::deque<bool> answers;
    std::vector<std::string> asked;
    NameStyle font;
    NameStyle fontStartedFrom;
    std::uint32_t colour = 0;
};

// Keeps what was done to the preview, in order.
class RecordedPreview final : public PreviewPicture {
public:
    void reload(const std::string& path) override { events.push_back("reload " + path); }
    void drawName(const std::string& name, const NameStyle& style) override
    {
        events.push_back("draw " + name + " " + style.font + " " + pointSizeText(style.pointSize) +
                         (style.bold ? " bold" : "") + " " + std::to_string(style.colour));
    }
    bool save(const std::string& path) override
    {
        events.push_back("save " + path);
        return saves;
    }
    std::vector<std::string> events;
    bool saves = true;
};

const std::string saveAsked = std::string("请确认|") + HeaderEditor::saveQuestion;
const std::string undoAsked = std::string("撤销|") + HeaderEditor::undoQuestion;

class HeaderEditorTest : public ::testing::Test {
protected:
    HeaderEditorTest() : store_(home_.path()), editor_(store_, header_, preview_, dialogs_, log_) {}

    std::string iniPath() const { return store_.pathOf(settings::files::hospital); }
    // Hospital.ini as UTF-8 text with "\n" for each CRLF, to compare whole files.
    std::string iniText() const
    {
        std::string text = base::gbkToUtf8(readBytes(iniPath()));
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.replace(at, 2, "\n");
        return text;
    }
    void writeIni(std::string text) const
    {
        for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
            text.replace(at, 1, "\r\n");
        writeBytes(iniPath(), base::utf8ToGbk(text));
    }
    // A style the dialogs hand back: bold red 10.5-point.
    void chooseBoldRed()
    {
        dialogs_.font = {"Noto Sans CJK SC", 10.5, true, true, 0};
        dialogs_.colour = 0x0000ff;
        editor_.chooseFont();
    }

    Sandbox home_;
    settings::SettingsStore store_;
    settings::HeaderSettings header_;
    RecordedPreview preview_;
    AnsweredDialogs dialogs_;
    testing::MemoryRunLog log_;
    HeaderEditor editor_;
};

TEST_F(HeaderEditorTest, OpeningLoadsTheHeaderSettingsAndTheBasePicture)
{
    header_.hname = "第一人民医院";
    header_.hleft = "600";
    header_.htop = "100";
    header_.hzt = "宋体";
    header_.hzh = "10.5";
    header_.hct = "True";
    header_.hys = "16711680";
    editor_.open();
    const EditorState& s = editor_.state();
    EXPECT_EQ(s.name, "第一人民医院");
    EXPECT_EQ(s.left, "600");
    EXPECT_EQ(s.top, "100");
    EXPECT_EQ(s.style.font, "宋体");
    EXPECT_EQ(s.style.pointSize, 10.5);
    EXPECT_TRUE(s.style.bold);
    EXPECT_EQ(s.style.colour, 0xff0000u);
    EXPECT_FALSE(s.customPicture);
    EXPECT_TRUE(editor_.editingEnabled());
    EXPECT_EQ(preview_.events, std::vector<std::string>{"reload " + home_.path() + "/医院名称.bmp"});
    EXPECT_FALSE(std::filesystem::exists(iniPath())) << "opening with the custom picture off writes nothing";
}

TEST_F(HeaderEditorTest, CustomPictureKeyDecidesTheModeOnOpening)
{
    struct Case {
        const char* stored;
        bool on;
    };
    const Case cases[] = {{nullptr, false}, {"0", false},  {" 0 ", false}, {"1", true},
                          {" 1", true},     {"yes", true}, {"", true}};
    for (const auto& c : cases) {
        Sandbox home;
        settings::SettingsStore store(home.path());
        settings::HeaderSettings header;
        header.yyname = "x";
        if (c.stored)
            writeBytes(store.pathOf(settings::files::hospital),
                       base::utf8ToGbk(std::string("[自定义图片]\r\n图片医院名称=") + c.stored + "\r\n"));
        const std::string before = readBytes(store.pathOf(settings::files::hospital));
        HeaderEditor editor(store, header, preview_, dialogs_, log_);
        editor.open();
        const std::string row = c.stored ? c.stored : "(missing)";
        EXPECT_EQ(editor.state().customPicture, c.on) << row;
        EXPECT_EQ(editor.editingEnabled(), !c.on) << row;
        if (c.on) {
            EXPECT_EQ(header.yyname, "1") << row;
            EXPECT_EQ(base::gbkToUtf8(readBytes(store.pathOf(settings::files::hospital))),
                      "[自定义图片]\r\n图片医院名称=1\r\n")
                << row;
        } else {
            EXPECT_EQ(header.yyname, "x") << row;
            EXPECT_EQ(readBytes(store.pathOf(settings::files::hospital)), before) << row;
        }
    }
}

TEST_F(HeaderEditorTest, CustomPictureOnBlocksEditingAndTogglingOffWritesZero)
{
    writeIni("[Hospital]\n医院名称=旧医院\n[自定义图片]\n图片医院名称=1\n");
    editor_.open();
    ASSERT_FALSE(editor_.editingEnabled());
    dialogs_.answers = {true, true};
    chooseBoldRed();
    EXPECT_FALSE(editor_.save());
    EXPECT_FALSE(editor_.undo());
    EXPECT_TRUE(dialogs_.asked.empty());
    EXPECT_FALSE(editor_.state().style.bold) << "the font dialog is not offered";

    editor_.setCustomPicture(false);
    EXPECT_TRUE(editor_.editingEnabled());
    EXPECT_EQ(header_.yyname, "0");
    EXPECT_EQ(iniText(), "[Hospital]\n医院名称=旧医院\n[自定义图片]\n图片医院名称=0\n");

    // The key follows every toggle, whether or not a picture is ever saved.
    editor_.setCustomPicture(true);
    EXPECT_EQ(header_.yyname, "1");
    EXPECT_EQ(iniText(), "[Hospital]\n医院名称=旧医院\n[自定义图片]\n图片医院名称=1\n");
}

TEST_F(HeaderEditorTest, SaveDrawsWritesTheSevenKeysInOrderAndUpdatesTheHeader)
{
    editor_.open();
    editor_.setName(" 第一人民医院 ");
    editor_.setLeft(" 1200 ");
    editor_.setTop("150mm");
    chooseBoldRed();
    dialogs_.answers = {true};
    EXPECT_TRUE(editor_.save());

    EXPECT_EQ(dialogs_.asked, std::vector<std::string>{saveAsked});
    const std::vector<std::string> events{"reload " + home_.path() + "/医院名称.bmp",
                                          "draw  第一人民医院  Noto Sans CJK SC 10.5 bold 255",
                                          "save " + home_.path() + "/yy.bmp"};
    EXPECT_EQ(preview_.events, events);
    // Name untrimmed, start points trimmed, colour decimal 0x00BBGGRR, size with
    // its fraction, bold as True/False; the italic chosen is not stored.
    EXPECT_EQ(iniText(),
              "[Hospital]\n医院名称= 第一人民医院 \n左起始点=1200\n上起始点=150mm\n颜色=255\n"
              "字体=Noto Sans CJK SC\n字号=10.5\n粗体=True\n");
    EXPECT_EQ(header_.hname, " 第一人民医院 ");
    EXPECT_EQ(header_.hleft, "1200");
    EXPECT_EQ(header_.htop, "150mm");
    EXPECT_EQ(header_.hys, "255");
    EXPECT_EQ(header_.hzt, "Noto Sans CJK SC");
    EXPECT_EQ(header_.hzh, "10.5");
    EXPECT_EQ(header_.hct, "True");
    EXPECT_TRUE(log_.lines.empty());

    // Read back, the size is 10.5 points again and the style is the saved one.
    settings::HeaderSettings reread;
    reread.hzh = store_.readSetting("Hospital", "字号", "0", settings::files::hospital);
    reread.hct = store_.readSetting("Hospital", "粗体", "0", settings::files::hospital);
    reread.hys = store_.readSetting("Hospital", "颜色", "0", settings::files::hospital);
    reread.hzt = store_.readSetting("Hospital", "字体", "0", settings::files::hospital);
    HeaderEditor again(store_, reread, preview_, dialogs_, log_);
    again.open();
    EXPECT_EQ(again.state().style.pointSize, 10.5);
    EXPECT_TRUE(again.state().style.bold);
    EXPECT_EQ(again.state().style.colour, 0x0000ffu);
}

TEST_F(HeaderEditorTest, SaveKeepsEveryOtherLineOfHospitalIni)
{
    writeIni("; 胶片抬头\n[Parameter]\n医院名称打印区高度=1200\n[hospital]\n字号=9\n其它=保留\n"
             "医院名称=旧医院\n\n[Cross]\n医院图标打印宽度和高度=500\n[自定义图片]\n图片医院名称=0\n");
    editor_.open();
    editor_.setName("新医院");
    dialogs_.font = {"宋体", 12, false, false, 0};
    dialogs_.colour = 0x123456;
    editor_.chooseFont();
    dialogs_.answers = {true};
    ASSERT_TRUE(editor_.save());
    // Keys already there change in place; the others follow at the end of the
    // section in the order written.
    EXPECT_EQ(iniText(),
              "; 胶片抬头\n[Parameter]\n医院名称打印区高度=1200\n[hospital]\n字号=12\n其它=保留\n"
              "医院名称=新医院\n左起始点=0\n上起始点=0\n颜色=1193046\n字体=宋体\n粗体=False\n\n"
              "[Cross]\n医院图标打印宽度和高度=500\n[自定义图片]\n图片医院名称=0\n");
    EXPECT_EQ(header_.hct, "False");
}

TEST_F(HeaderEditorTest, AnsweringNoChangesNeitherFilesNorHeader)
{
    writeIni("[Hospital]\n医院名称=旧医院\n");
    writeBytes(home_.file("yy.bmp"), "old picture");
    const std::string iniBefore = readBytes(iniPath());
    header_.hname = "旧医院";
    editor_.open();
    editor_.setName("新医院");
    chooseBoldRed();
    const settings::HeaderSettings before = header_;

    dialogs_.answers = {false};
    EXPECT_FALSE(editor_.save());
    EXPECT_EQ(dialogs_.asked, std::vector<std::string>{saveAsked});
    EXPECT_EQ(preview_.events.size(), 1u) << "nothing drawn or saved after the opening reload";
    EXPECT_EQ(readBytes(iniPath()), iniBefore);
    EXPECT_EQ(readBytes(home_.file("yy.bmp")), "old picture");
    EXPECT_EQ(header_.hname, before.hname);
    EXPECT_EQ(header_.hct, before.hct);
    EXPECT_EQ(header_.hzh, before.hzh);
}

TEST_F(HeaderEditorTest, SavingTwiceDrawsTwiceAndUndoOnlyReloadsThePreview)
{
    editor_.open();
    editor_.setName("医院");
    dialogs_.answers = {true, true, false, true};
    ASSERT_TRUE(editor_.save());
    ASSERT_TRUE(editor_.save());
    const std::string iniAfterSaves = readBytes(iniPath());
    const settings::HeaderSettings afterSaves = header_;
    editor_.setName("别的医院");
    EXPECT_FALSE(editor_.undo());  // No: nothing at all
    EXPECT_TRUE(editor_.undo());

    const std::string base = "reload " + home_.path() + "/医院名称.bmp";
    const std::string draw = "draw 医院 0 0 0";
    const std::string save = "save " + home_.path() + "/yy.bmp";
    EXPECT_EQ(preview_.events, (std::vector<std::string>{base, draw, save, draw, save, base}));
    EXPECT_EQ(dialogs_.asked, (std::vector<std::string>{saveAsked, saveAsked, undoAsked, undoAsked}));
    EXPECT_EQ(readBytes(iniPath()), iniAfterSaves);
    EXPECT_EQ(header_.hname, afterSaves.hname);
    EXPECT_EQ(editor_.state().name, "别的医院") << "undo leaves the fields as they are";
}

TEST_F(HeaderEditorTest, DialogValuesTheNameCannotTakeAreSkipped)
{
    header_.hzt = "宋体";
    header_.hzh = "12";
    header_.hct = "True";
    editor_.open();
    dialogs_.font = {"", 0, false, false, 0};
    dialogs_.colour = 0xff00ff00;  // beyond 24 bits: only the colour part is kept
    editor_.chooseFont();
    EXPECT_EQ(dialogs_.fontStartedFrom.font, "宋体");
    EXPECT_EQ(editor_.state().style.font, "宋体");
    EXPECT_EQ(editor_.state().style.pointSize, 12);
    EXPECT_FALSE(editor_.state().style.bold);
    EXPECT_EQ(editor_.state().style.colour, 0x00ff00u);
}

TEST_F(HeaderEditorTest, FilesThatCannotBeWrittenAreLoggedAndTheRestStillHappens)
{
    // A file where the folder 医院名称 should be: Hospital.ini cannot be written.
    writeBytes(home_.file("医院名称"), "not a folder");
    preview_.saves = false;
    editor_.open();
    editor_.setName("医院");
    dialogs_.answers = {true};
    EXPECT_TRUE(editor_.save());
    EXPECT_EQ(log_.lines,
              (std::vector<std::string>{"医院名称图片无法写入：" + home_.path() + "/yy.bmp",
                                        "医院名称设置无法写入：" + iniPath()}));
    EXPECT_EQ(header_.hname, "医院") << "the next film still gets the edited header";

    log_.lines.clear();
    editor_.setCustomPicture(true);
    EXPECT_EQ(log_.lines, std::vector<std::string>{"医院名称设置无法写入：" + iniPath()});
    EXPECT_EQ(header_.yyname, "1");
}

TEST(BoldFromText, ReadsTrueFalseAndNumbers)
{
    struct Case {
        const char* text;
        bool bold;
    };
    const Case cases[] = {{"True", true}, {"TRUE", true}, {" true ", true}, {"False", false}, {"0", false},
                          {"1", true},    {"-1", true},   {"0.0", false},   {"abc", false},   {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(boldFromText(c.text), c.bold) << c.text;
}

}  // namespace
}  // namespace vantorel::hospital_name
