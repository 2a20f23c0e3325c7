#include "base/gbk.h"

#include <gtest/gtest.h>

namespace vantorel::base {
namespace {

// Strings in GBK are written as byte escapes so that the test does not depend
// on how this file itself is encoded.
TEST(Gbk, ConvertsBothWays)
{
    struct Case {
        const char* utf8;
        const char* gbk;
    };
    const Case cases[] = {
        {"PrtIni", "PrtIni"},
        {"医院名称", "\xd2\xbd\xd4\xba\xc3\xfb\xb3\xc6"},
        {"打印左边距=5", "\xb4\xf2\xd3\xa1\xd7\xf3\xb1\xdf\xbe\xe0=5"},
        {"€", "\x80"},  // code page 936 has the euro sign in one byte
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk) << c.utf8;
        EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8) << c.utf8;
    }
}

TEST(Gbk, DecodingMarksInvalidBytesAndGoesOn)
{
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    const Case cases[] = {
        {"\xff", "\uFFFD"},
        {"A\x81", "A\uFFFD"},                    // lead byte cut off at the end
        {"A\x81\nB", "A\uFFFD\nB"},              // lead byte followed by a line end
        {"\xd2\xbd\xff\xd4\xba", "医\uFFFD院"},  // a bad byte between two characters
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8) << testing::PrintToString(c.gbk);
}

TEST(Gbk, EncodingWritesQuestionMarkForWhatGbkCannotHold)
{
    struct Case {
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"a\U0001F600b", "a?b"},  // emoji
        {"\xC3(x", "?(x"},        // broken UTF-8
        {"\xE5\x8C", "?"},        // UTF-8 sequence cut off
        {"中\U0001F600文", "\xd6\xd0?\xce\xc4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk) << c.utf8;
}

TEST(Gbk, RepairsInvalidUtf8)
{
    EXPECT_EQ(repairUtf8("ok 医院"), "ok 医院");
    EXPECT_EQ(repairUtf8("a\xff"
                         "b"),
              "a\uFFFD"
              "b");
}

TEST(Gbk, CountsAndCutsCharactersNotBytes)
{
    EXPECT_EQ(utf8Length("医院ab"), 4u);
    EXPECT_EQ(utf8Left("医院ab", 1), "医");
    EXPECT_EQ(utf8Left("医院ab", 3), "医院a");
    EXPECT_EQ(utf8Left("医院ab", 10), "医院ab");
    EXPECT_EQ(utf8Left("医院ab", 0), "");
}

}  // namespace
}  // namespace vantorel::base
