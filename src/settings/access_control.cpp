#include "settings/access_control.h"

namespace vantorel::settings {

AccessControl::AccessControl(View& view, std::function<bool(const std::string&)> isPassword)
    : view_(view), check_(isPassword ? std::move(isPassword) : [](const std::string& text) {
          return AccessControl::isPassword(text);
      })
{}

void AccessControl::lockAll()
{
    for (LockedPage page : {LockedPage::Dicom, LockedPage::Print, LockedPage::Run}) {
        unlocked_[index(page)] = false;
        view_.enableGroup(page, false);
    }
}

std::array<LockedPage, 2> AccessControl::copyOrder(LockedPage from)
{
    switch (from) {
    case LockedPage::Dicom:
        return {LockedPage::Print, LockedPage::Run};
    case LockedPage::Print:
        return {LockedPage::Dicom, LockedPage::Run};
    case LockedPage::Run:
        break;
    }
    return {LockedPage::Print, LockedPage::Dicom};
}

void AccessControl::applyRule(LockedPage page)
{
    const bool open = check_(texts_[index(page)]);
    unlocked_[index(page)] = open;
    view_.enableGroup(page, open);
}

void AccessControl::boxTextChanged(LockedPage page, const std::string& text)
{
    // Copying text into a box makes the box report a change of its own; the
    // copy below has already applied the rule to it.
    if (copying_)
        return;
    texts_[index(page)] = text;
    applyRule(page);
    copying_ = true;
    for (LockedPage other : copyOrder(page)) {
        if (texts_[index(other)] == text)
            continue;
        texts_[index(other)] = text;
        view_.showBoxText(other, text);
        applyRule(other);
    }
    copying_ = false;
}

}  // namespace vantorel::settings
