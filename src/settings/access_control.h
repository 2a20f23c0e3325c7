#pragma once

#include <array>
#include <functional>
#include <string>

namespace vantorel::settings {

// The three pages whose settings stay locked until the operator types the
// system password into the password box of any of them.
enum class LockedPage { Dicom = 0, Print = 1, Run = 2 };

inline constexpr const char* systemPassword = "qarvo517";

// The access rule. The three groups start disabled. When the text of one box
// changes, that box's group is enabled exactly when the text equals the
// password (exact, case-sensitive); the text is then copied into the other two
// boxes in a fixed order, and each box whose text actually changes applies the
// same rule to its own group. Nothing is counted, timed or stored.
class AccessControl {
public:
    // What the rule changes on screen.
    class View {
    public:
        virtual ~View() = default;
        virtual void showBoxText(LockedPage page, const std::string& text) = 0;
        virtual void enableGroup(LockedPage page, bool enabled) = 0;
    };

    // `isPassword` decides whether a box's text unlocks; by default the
    // fixed system password does.
    explicit AccessControl(View& view, std::function<bool(const std::string&)> isPassword = {});

    // Disables the three groups (start of the program).
    void lockAll();

    // The text of `page`'s box changed (typed by the operator, or copied into
    // it while this call propagates a change: such echoes are ignored).
    void boxTextChanged(LockedPage page, const std::string& text);

    bool unlocked(LockedPage page) const { return unlocked_[index(page)]; }
    const std::string& boxText(LockedPage page) const { return texts_[index(page)]; }

    static bool isPassword(const std::string& text) { return text == systemPassword; }

    // The boxes a change is copied to, in order: DICOM to print then run;
    // print to DICOM then run; run to print then DICOM.
    static std::array<LockedPage, 2> copyOrder(LockedPage from);

private:
    static std::size_t index(LockedPage page) { return static_cast<std::size_t>(page); }
    void applyRule(LockedPage page);

    View& view_;
    std::function<bool(const std::string&)> check_;
    std::array<std::string, 3> texts_{};
    std::array<bool, 3> unlocked_{};
    bool copying_ = false;
};

}  // namespace vantorel::settings
