#include "settings/access_control.h"
#include "settings/settings_password.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantorel::settings {
namespace {

const char* name(LockedPage page)
{
    switch (page) {
    case LockedPage::Dicom:
        return "dicom";
    case LockedPage::Print:
        return "print";
    case LockedPage::Run:
        return "run";
    }
    return "?";
}

// Records what the rule does on screen, in order.
class RecordingView final : public AccessControl::View {
public:
    void showBoxText(LockedPage page, const std::string& text) override
    {
        calls.push_back(std::string("text ") + name(page) + "=" + text);
        if (control)  // a real box reports the copied text as a change of its own
            control->boxTextChanged(page, text);
    }
    void enableGroup(LockedPage page, bool enabled) override
    {
        calls.push_back(std::string(enabled ? "open " : "lock ") + name(page));
    }
    AccessControl* control = nullptr;
    std::vector<std::string> calls;
};

TEST(AccessControl, CopiesInTheFixedOrderAndAppliesTheRuleToEachBox)
{
    struct Case {
        LockedPage typedIn;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {LockedPage::Dicom,
         {"open dicom", "text print=qarvo517", "open print", "text run=qarvo517", "open run"}},
        {LockedPage::Print,
         {"open print", "text dicom=qarvo517", "open dicom", "text run=qarvo517", "open run"}},
        {LockedPage::Run,
         {"open run", "text print=qarvo517", "open print", "text dicom=qarvo517", "open dicom"}},
    };
    for (const Case& c : cases) {
        RecordingView view;
        AccessControl control(view);
        view.control = &control;
        control.boxTextChanged(c.typedIn, "qarvo517");
        EXPECT_EQ(view.calls, c.calls) << name(c.typedIn);
    }
}

TEST(AccessControl, OnlyTheExactPasswordOpensAndAnyEditLocksAll)
{
    struct Case {
        const char* text;
        bool open;
    };
    const Case cases[] = {
        {"qarvo517", true},   {"QARVO517", false},  {"Qarvo517", false},  {"qarvo51", false},
        {"qarvo5177", false}, {" qarvo517", false}, {"qarvo517 ", false}, {"", false},
    };
    for (const Case& c : cases) {
        RecordingView view;
        AccessControl control(view);
        control.lockAll();
        control.boxTextChanged(LockedPage::Print, c.text);
        for (LockedPage page : {LockedPage::Dicom, LockedPage::Print, LockedPage::Run}) {
            EXPECT_EQ(control.unlocked(page), c.open) << c.text << " " << name(page);
            EXPECT_EQ(control.boxText(page), c.text) << c.text << " " << name(page);
        }
    }

    RecordingView view;
    AccessControl control(view);
    control.boxTextChanged(LockedPage::Run, "qarvo517");
    control.boxTextChanged(LockedPage::Dicom, "qarvo51");
    for (LockedPage page : {LockedPage::Dicom, LockedPage::Print, LockedPage::Run})
        EXPECT_FALSE(control.unlocked(page)) << name(page);
}

TEST(AccessControl, ABoxAlreadyHoldingTheTextIsLeftAlone)
{
    RecordingView view;
    AccessControl control(view);
    control.boxTextChanged(LockedPage::Dicom, "qarvo517");
    view.calls.clear();
    // Retyping the same text into another box changes only that box's group.
    control.boxTextChanged(LockedPage::Run, "qarvo517");
    EXPECT_EQ(view.calls, std::vector<std::string>{"open run"});
}

}  // namespace
}  // namespace vantorel::settings

namespace vantorel::settings {
namespace {

TEST(SettingsPassword, AStoredHashOpensOnlyForItsPassword)
{
    const std::string stored = hashSettingsPassword("Röntgen 2026");
    EXPECT_EQ(stored.rfind("pbkdf2-sha256$100000$", 0), 0u) << stored;
    EXPECT_EQ(stored.find("Röntgen"), std::string::npos);
    EXPECT_NE(hashSettingsPassword("Röntgen 2026"), stored);  // salted
    EXPECT_EQ(matchSettingsPassword(stored, "Röntgen 2026"), PasswordMatch::Yes);
    EXPECT_EQ(matchSettingsPassword(stored, "röntgen 2026"), PasswordMatch::No);
    EXPECT_EQ(matchSettingsPassword(stored, systemPassword), PasswordMatch::No);
    for (const char* broken :
         {"", "secret", "pbkdf2-sha256$", "pbkdf2-sha256$x$00$00", "pbkdf2-sha256$100000$zz$00",
          "pbkdf2-sha256$100000$0011$", "pbkdf2-sha256$10$0011$00112233445566778899aabbccddeeff",
          "md5$100000$0011$00112233445566778899aabbccddeeff"})
        EXPECT_EQ(matchSettingsPassword(broken, "secret"), PasswordMatch::Unreadable) << broken;
}

TEST(SettingsPassword, ThePagesFollowTheStoredHashOrElseTheFixedPassword)
{
    std::string stored;
    SettingsPasswordCheck check(stored);
    EXPECT_TRUE(check(systemPassword));
    EXPECT_FALSE(check("other"));
    stored = hashSettingsPassword("other");
    EXPECT_TRUE(check("other"));
    EXPECT_FALSE(check(systemPassword));
    stored = "garbled";  // an unreadable hash opens nothing
    EXPECT_FALSE(check("other"));
    EXPECT_FALSE(check(systemPassword));
}

}  // namespace
}  // namespace vantorel::settings
