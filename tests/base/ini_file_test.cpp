#include "base/ini_file.h"

#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace vantorel::base {
namespace {

using testing::readBytes;
using testing::Sandbox;
using testing::writeBytes;

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* def;
    std::string expected;
};

TEST(IniFileRead, FollowsTheProfileRules)
{
    const ReadCase cases[] = {
        {"names ignore ASCII case", "[PrtIni]\r\nAE=XY\r\n", "prtini", "ae", "ZQ", "XY"},
        {"first section of a name only", "[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n", "A", "j", "d", "d"},
        {"first key of a name", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "d", "1"},
        {"blanks and tabs trimmed", "[A]\r\n k \t=  \t 5040 \t\r\n", "A", "k", "d", "5040"},
        {"comment line is no key", "[A]\r\n;k=1\r\n", "A", ";k", "d", "d"},
        {"comment line skipped", "[A]\r\n;k=1\r\nk=2\r\n", "A", "k", "d", "2"},
        {"line without = is no key", "[A]\r\nk\r\n", "A", "k", "d", "d"},
        {"LF line ends", "[A]\nk=lf\n", "A", "k", "d", "lf"},
        {"no final line end", "[A]\r\nk=end", "A", "k", "d", "end"},
        {"key before any section", "k=1\r\n[A]\r\n", "A", "k", "d", "d"},
        {"missing section", "[B]\r\nk=1\r\n", "A", "k", "d", "d"},
        {"missing key", "[A]\r\nj=1\r\n", "A", "k", "d", "d"},
        {"default trimmed", "", "A", "k", "  dd \t", "dd"},
        {"empty value is a value", "[A]\r\nk=\r\n", "A", "k", "d", ""},
        {"value keeps later =", "[A]\r\nk=a=b\r\n", "A", "k", "d", "a=b"},
        {"section name blanks", "[ A ]\r\nk=1\r\n", "A", "k", "d", "1"},
        {"section line with comment", "[A] ; note\r\nk=1\r\n", "A", "k", "d", "1"},
        {"double quotes removed", "[A]\r\nk= \"a;b\" \r\n", "A", "k", "d", "a;b"},
        {"single quotes removed", "[A]\r\nk='x'\r\n", "A", "k", "d", "x"},
        {"unmatched quotes kept", "[A]\r\nk=\"x'\r\n", "A", "k", "d", "\"x'"},
        {"one quote kept", "[A]\r\nk=\"\r\n", "A", "k", "d", "\""},
        {"key of next section", "[A]\r\n[B]\r\nk=1\r\n", "A", "k", "d", "d"},
        // "慮" is 0x91 0x5D in GBK: its second byte is "]" and must not end the name.
        {"GBK trail byte ]", "[\x91\x5d\x91\x5d]\r\nk=1\r\n", "慮慮", "k", "d", "1"},
        {"Chinese names", "[\xd2\xbd\xd4\xba]\r\n\xd1\xd5\xc9\xab=255\r\n", "医院", "颜色", "0", "255"},
    };
    Sandbox box;
    for (const auto& c : cases) {
        writeBytes(box.file("t.ini"), c.content);
        EXPECT_EQ(IniFile(box.file("t.ini")).read(c.section, c.key, c.def), c.expected) << c.name;
    }
}

TEST(IniFileRead, MissingFileGivesTheDefault)
{
    Sandbox box;
    IniFile file(box.file("no/such.ini"));
    EXPECT_FALSE(file.exists());
    EXPECT_EQ(file.read("PrtIni", "Port", " 10000\t"), "10000");
}

TEST(IniFileRead, CutsValuesAndDefaultsTo254Characters)
{
    Sandbox box;
    const std::string ascii(300, 'x');
    std::string chinese;      // 300 characters, 600 bytes in GBK
    std::string chineseUtf8;  // the first 254 of them in UTF-8
    for (int i = 0; i < 300; ++i) {
        chinese += "\xd6\xd0";
        if (i < 254)
            chineseUtf8 += "中";
    }
    writeBytes(box.file("t.ini"), "[A]\r\nascii=" + ascii + "\r\nchinese=" + chinese + "\r\n");
    IniFile file(box.file("t.ini"));
    EXPECT_EQ(file.read("A", "ascii", ""), std::string(254, 'x'));
    EXPECT_EQ(file.read("A", "chinese", ""), chineseUtf8);
    EXPECT_EQ(file.read("A", "missing", ascii), std::string(254, 'x'));
}

// A hospital file as the editor leaves it, in GBK, with mixed line ends, a
// comment, blank lines and no final line end.
const std::string hospitalFixture =
    "; \xd7\xa2\xca\xcd\r\n"  // ; 注释
    "[Hospital]\r\n"
    "\xd7\xf3\xc6\xf0\xca\xbc\xb5\xe3=120\r\n"                               // 左起始点=120
    "\xc9\xcf\xc6\xf0\xca\xbc\xb5\xe3 = 80 \r\n"                             // 上起始点 = 80
    "\xd2\xbd\xd4\xba\xc3\xfb\xb3\xc6=\xc8\xcb\xc3\xf1\xd2\xbd\xd4\xba\r\n"  // 医院名称=人民医院
    "\r\n"
    "[Parameter]\n"
    "\xd2\xbd\xd4\xba\xc3\xfb\xb3\xc6\xb4\xf2\xd3\xa1\xc7\xf8\xb8\xdf\xb6\xc8=1000\n"  // 医院名称打印区高度
    "\r\n"
    "[\xd7\xd4\xb6\xa8\xd2\xe5\xcd\xbc\xc6\xac]\r\n"       // [自定义图片]
    "\xcd\xbc\xc6\xac\xd2\xbd\xd4\xba\xc3\xfb\xb3\xc6=0";  // 图片医院名称=0

TEST(IniFileGbk, ReadsChineseSectionsAndKeys)
{
    Sandbox box;
    writeBytes(box.file("Hospital.ini"), hospitalFixture);
    IniFile file(box.file("Hospital.ini"));
    EXPECT_EQ(file.read("Hospital", "左起始点", "0"), "120");
    EXPECT_EQ(file.read("Hospital", "上起始点", "0"), "80");
    EXPECT_EQ(file.read("Hospital", "医院名称", "0"), "人民医院");
    EXPECT_EQ(file.read("Parameter", "医院名称打印区高度", "0"), "1000");
    EXPECT_EQ(file.read("自定义图片", "图片医院名称", "1"), "0");
}

TEST(IniFileGbk, WritingAKeyChangesExactlyItsLine)
{
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
        std::string before;    // the fixture's bytes up to the change
        std::string inserted;  // what replaces `removed`
        std::string removed;
    };
    const std::string topLine = "\xc9\xcf\xc6\xf0\xca\xbc\xb5\xe3 = 80 \r\n";
    const std::string heightLine =
        "\xd2\xbd\xd4\xba\xc3\xfb\xb3\xc6\xb4\xf2\xd3\xa1\xc7\xf8\xb8\xdf\xb6\xc8=1000\n";
    const auto upTo = [](const std::string& marker) {
        return hospitalFixture.substr(0, hospitalFixture.find(marker));
    };
    const Case cases[] = {
        {"existing key, line end kept", "Hospital", "上起始点", "95", upTo(topLine),
         "\xc9\xcf\xc6\xf0\xca\xbc\xb5\xe3=95\r\n", topLine},
        {"key named in other case", "hospital", "上起始点", "人民", upTo(topLine),
         "\xc9\xcf\xc6\xf0\xca\xbc\xb5\xe3=\xc8\xcb\xc3\xf1\r\n", topLine},
        {"key on an LF line keeps LF", "Parameter", "医院名称打印区高度", "800", upTo(heightLine),
         heightLine.substr(0, heightLine.find('=') + 1) + "800\n", heightLine},
        {"new key before the blank line", "Hospital", "颜色", "255", upTo("\r\n\r\n[Parameter]") + "\r\n",
         "\xd1\xd5\xc9\xab=255\r\n", ""},
        {"new key after a last line without line end", "自定义图片", "x", "1", hospitalFixture, "\r\nx=1\r\n",
         ""},
        {"new section", "Cross", "w", "500", hospitalFixture, "\r\n\r\n[Cross]\r\nw=500\r\n", ""},
    };
    Sandbox box;
    for (const auto& c : cases) {
        writeBytes(box.file("Hospital.ini"), hospitalFixture);
        IniFile file(box.file("Hospital.ini"));
        ASSERT_TRUE(file.write(c.section, c.key, c.value)) << c.name;
        const std::string after = hospitalFixture.substr(c.before.size() + c.removed.size());
        EXPECT_EQ(readBytes(box.file("Hospital.ini")), c.before + c.inserted + after) << c.name;
        EXPECT_EQ(file.read(c.section, c.key, "?"), c.value) << c.name;
    }
}

TEST(IniFileWrite, CreatesFolderFileSectionAndKey)
{
    Sandbox box;
    IniFile file(box.file("IP/IP.ini"));
    ASSERT_TRUE(file.write("IP", "1", "192.168.1.20"));
    EXPECT_EQ(readBytes(box.file("IP/IP.ini")), "[IP]\r\n1=192.168.1.20\r\n");
    ASSERT_TRUE(file.write("IP", "2", "10.0.0.1"));
    ASSERT_TRUE(file.write("IP", "1", ""));
    EXPECT_EQ(readBytes(box.file("IP/IP.ini")), "[IP]\r\n1=\r\n2=10.0.0.1\r\n");
}

TEST(IniFileWrite, WritesCharactersGbkCannotHoldAsQuestionMarks)
{
    Sandbox box;
    IniFile file(box.file("t.ini"));
    ASSERT_TRUE(file.write("A", "k", "中\U0001F600"));
    EXPECT_EQ(readBytes(box.file("t.ini")), "[A]\r\nk=\xd6\xd0?\r\n");
}

TEST(IniFileWrite, RefusesWhatCannotBeWritten)
{
    Sandbox box;
    const std::string original = "[A]\r\nk=1\r\n";
    writeBytes(box.file("t.ini"), original);
    writeBytes(box.file("plain"), "not a folder");
    std::filesystem::create_directories(box.file("folder.ini"));

    struct Case {
        const char* name;
        std::string path;
        std::string section, key, value;
    };
    const Case cases[] = {
        {"line break in value", box.file("t.ini"), "A", "k", "1\r\n[B]\r\nx=2"},
        {"line break in key", box.file("t.ini"), "A", "k\nx", "1"},
        {"= in key", box.file("t.ini"), "A", "a=b", "1"},
        {"empty key", box.file("t.ini"), "A", " ", "1"},
        {"] in section", box.file("t.ini"), "A]x", "k", "1"},
        {"path is a folder", box.file("folder.ini"), "A", "k", "1"},
        {"parent is a file", box.file("plain/t.ini"), "A", "k", "1"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(IniFile(c.path).write(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(readBytes(box.file("t.ini")), original);
    EXPECT_EQ(readBytes(box.file("plain")), "not a folder");
}

TEST(IniFileWrite, ReplacesTheFileWholeOrNotAtAll)
{
    Sandbox box;
    const std::string original = "; printer pools\r\n[PrtLst0]\r\n0=A\r\n";
    writeBytes(box.file("PrtLst.ini"), original);
    std::filesystem::permissions(box.file("PrtLst.ini"), std::filesystem::perms(0640));

    IniFile file(box.file("PrtLst.ini"));
    ASSERT_TRUE(file.write("PrtLst0", "1", "B"));
    EXPECT_EQ(readBytes(box.file("PrtLst.ini")), original + "1=B\r\n");
    EXPECT_EQ(std::filesystem::status(box.file("PrtLst.ini")).permissions(), std::filesystem::perms(0640));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(box.path()), std::filesystem::directory_iterator()),
        1);

    // When the new text cannot be put down beside the file, the old file stays whole.
    std::filesystem::create_directories(box.file("PrtLst.ini.new-" + std::to_string(::getpid())));
    EXPECT_FALSE(file.write("PrtLst0", "2", "C"));
    EXPECT_EQ(readBytes(box.file("PrtLst.ini")), original + "1=B\r\n");
}

TEST(IniFileEncoding, FileWithByteOrderMarkIsUtf8BothWays)
{
    Sandbox box;
    const std::string bom = "\xEF\xBB\xBF";
    writeBytes(box.file("t.ini"), bom + "[医院]\r\n名称=人民医院\r\n");
    IniFile file(box.file("t.ini"));
    EXPECT_EQ(file.read("医院", "名称", ""), "人民医院");
    ASSERT_TRUE(file.write("医院", "颜色", "红"));
    EXPECT_EQ(readBytes(box.file("t.ini")), bom + "[医院]\r\n名称=人民医院\r\n颜色=红\r\n");
}

TEST(IniFileEncoding, FileWithInvalidBytesIsReadAndOtherLinesKept)
{
    Sandbox box;
    const std::string badLine = "k=\xff\xfe\x81\r\n";
    writeBytes(box.file("t.ini"), "[A]\r\n" + badLine + "j=ok\r\n\x81");
    IniFile file(box.file("t.ini"));
    EXPECT_EQ(file.read("A", "k", ""), "\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(file.read("A", "j", ""), "ok");
    ASSERT_TRUE(file.write("A", "j", "new"));
    EXPECT_EQ(readBytes(box.file("t.ini")), "[A]\r\n" + badLine + "j=new\r\n\x81");
}

}  // namespace
}  // namespace vantorel::base
