#include "base/number_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantorel::base {
namespace {

TEST(SettingsConversions, LeadingNumberTakesTheNumberAtTheStart)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"250", 250}, {"12abc", 12}, {"-3.5x", -3.5}, {"+7", 7},   {".5", 0.5},
        {"5.", 5},    {"1e3", 1},    {" 42 ", 42},    {"abc", 0},  {"", 0},
        {"-", 0},     {".", 0},      {"7mm", 7},      {"0x10", 0}, {"1,5", 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';

    // Beyond the double range: far too small is 0, far too large is infinite.
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_DOUBLE_EQ(leadingNumber(tiny), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("-" + tiny), 0);
    EXPECT_EQ(numberAsInt16(tiny), std::int16_t{0});
    EXPECT_EQ(wholeNumber("1e-400"), std::int16_t{0});
    EXPECT_TRUE(std::isinf(leadingNumber("1" + std::string(400, '0'))));
    EXPECT_EQ(wholeNumber("1e400"), std::nullopt);
}

TEST(SettingsConversions, RoundsHalvesToEven)
{
    struct Case {
        double value;
        double rounded;
    };
    const Case cases[] = {
        {2.5, 2},   {3.5, 4}, {0.5, 0}, {1.5, 2},   {-2.5, -2},
        {-3.5, -4}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(SettingsConversions, NumberFor16BitFields)
{
    struct Case {
        const char* text;
        std::optional<std::int16_t> value;
    };
    const Case cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"-100", -100},
        {"50.5mm", 50},
        {"x", 0},
        {"32767", 32767},
        {"32767.5", std::nullopt},
        {"-32768", -32768},
        {"40000", std::nullopt},
        {"-32768.5", -32768},
        {"-32769", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberAsInt16(c.text), c.value) << '"' << c.text << '"';
}

TEST(SettingsConversions, WholeNumberNeedsTheWholeText)
{
    struct Case {
        const char* text;
        std::optional<std::int16_t> value;
    };
    const Case cases[] = {
        {"1", 1},
        {" 0 ", 0},
        {"2.5", 2},
        {"3.5", 4},
        {"0.6", 1},
        {"1e2", 100},
        {"-7", -7},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1a", std::nullopt},
        {"1 2", std::nullopt},
        {"70000", std::nullopt},
        {"0x1", std::nullopt},
        {"1e", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(SettingsConversions, WholeNumberFor32Bits)
{
    EXPECT_EQ(wholeNumberAsInt32("2147483647"), 2147483647);
    EXPECT_EQ(wholeNumberAsInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(wholeNumberAsInt32("2147483648"), std::nullopt);
    EXPECT_EQ(wholeNumberAsInt32("12 films"), std::nullopt);
}

TEST(SettingsConversions, NumberText)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {255, "255"}, {10.5, "10.5"}, {-0.0, "0"}, {16777215, "16777215"}, {-3, "-3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberText(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace vantorel::base
