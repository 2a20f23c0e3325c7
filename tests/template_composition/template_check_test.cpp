// A template is used for a film only when it can print every image of it.

#include "template_composition/template_check.h"

#include "template_fakes.h"

#include <gtest/gtest.h>

namespace vantorel::template_composition::testing {
namespace {

ReportPageSettings a4()
{
    ReportPageSettings page;
    page.paperWidth = 11900;
    page.paperHeight = 16840;
    page.marginLeft = page.marginTop = page.marginRight = page.marginBottom = 360;
    return page;
}

ReportControl slotAt(int number, float left, float top, float width, float height)
{
    ReportControl slot = imageSlot(number);
    slot.left = left;
    slot.top = top;
    slot.width = width;
    slot.height = height;
    return slot;
}

std::vector<ReportControl> twoByTwo()
{
    return {slotAt(1, 0, 0, 5000, 7000), slotAt(2, 5500, 0, 5000, 7000), slotAt(3, 0, 8000, 5000, 7000),
            slotAt(4, 5500, 8000, 5000, 7000)};
}

TEST(TemplateCheck, ATemplateThatWouldDropAnImageIsNotUsedAndSaysWhy)
{
    const std::vector<bool> four(4, true);
    std::vector<ReportControl> labels(2001);
    for (ReportControl& label : labels)
        label.kind = ReportControl::Kind::Label;
    ReportControl huge;
    huge.kind = ReportControl::Kind::Label;
    huge.name = "Title";
    huge.fontSize = 5000;
    auto without = [](std::vector<ReportControl> controls, std::size_t at) {
        controls.erase(controls.begin() + static_cast<long>(at));
        return controls;
    };
    auto with = [](std::vector<ReportControl> controls, std::size_t at, ReportControl slot) {
        controls[at] = slot;
        return controls;
    };
    ReportControl hidden = slotAt(2, 5500, 0, 5000, 7000);
    hidden.visible = false;
    ReportPageSettings tiny = a4();
    tiny.paperWidth = 700;
    struct Case {
        const char* what;
        std::vector<ReportControl> controls;
        ReportPageSettings page;
        std::string reason;
    };
    const Case cases[] = {
        {"no slots", {}, a4(), "0 image slots, no visible slot Image1 for image 1"},
        {"too few slots", without(twoByTwo(), 3), a4(), "3 image slots, no visible slot Image4 for image 4"},
        {"a hidden slot", with(twoByTwo(), 1, hidden), a4(),
         "3 image slots, no visible slot Image2 for image 2"},
        {"off the page", with(twoByTwo(), 3, slotAt(4, 9000, 8000, 5000, 7000)), a4(),
         "slot Image4 lies outside the page"},
        {"negative size", with(twoByTwo(), 2, slotAt(3, 0, 8000, -5000, 7000)), a4(),
         "slot Image3 has no positive size"},
        {"zero size", with(twoByTwo(), 0, slotAt(1, 0, 0, 5000, 0)), a4(),
         "slot Image1 has no positive size"},
        {"a page too small", twoByTwo(), tiny, "page of 700 x 16840 twips has no room inside its margins"},
        {"too many controls", labels, a4(), "2001 controls, more than 2000"},
        {"a huge label", with(twoByTwo(), 0, huge), a4(), "label Title larger than 500 pt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unusableTemplate(c.controls, c.page, four, false), std::optional<std::string>(c.reason))
            << c.what;
}

TEST(TemplateCheck, SlotsAreNeededOnlyForTheCellsThatHoldImages)
{
    EXPECT_FALSE(unusableTemplate(twoByTwo(), a4(), std::vector<bool>(4, true), false));
    // A partial film: the third image box is empty, so its slot may be missing.
    std::vector<ReportControl> three = twoByTwo();
    three.erase(three.begin() + 2);
    EXPECT_FALSE(unusableTemplate(three, a4(), {true, true, false, true}, false));
    // ROW and COL films fill at most five slots.
    std::vector<ReportControl> six = twoByTwo();
    six.push_back(slotAt(5, 0, 15100, 1000, 1000));
    six.push_back(slotAt(6, 1100, 15100, 1000, 1000));
    EXPECT_FALSE(unusableTemplate(six, a4(), std::vector<bool>(6, true), false));
    EXPECT_EQ(unusableTemplate(six, a4(), std::vector<bool>(6, true), true),
              std::optional<std::string>("no slot for image 6 (at most 5)"));
}

}  // namespace
}  // namespace vantorel::template_composition::testing
