#pragma once

#include "hospital_name/name_style.h"

#include <string>

namespace vantorel::hospital_name {

// The questions and choosers the editor puts to the operator. The window
// answers them with message boxes and the font and colour dialogs; tests
// answer them directly.
class EditorDialogs {
public:
    virtual ~EditorDialogs() = default;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
    // Font name, size, bold and italic as the font dialog hands them back
    // (starting from `current`); the colour is not the font dialog's.
    virtual NameStyle chooseFont(const NameStyle& current) = 0;
    // The colour the colour dialog hands back, starting from `current`.
    virtual std::uint32_t chooseColour(std::uint32_t current) = 0;
};

// The preview picture the name is drawn on.
class PreviewPicture {
public:
    virtual ~PreviewPicture() = default;
    // The base picture at `path`, or a plain white picture when it cannot be read.
    virtual void reload(const std::string& path) = 0;
    // Draws `name` on top of the current picture at the fixed name position.
    virtual void drawName(const std::string& name, const NameStyle& style) = 0;
    // Writes the current picture to `path` as a Windows bitmap; false when it
    // cannot be written.
    [[nodiscard]] virtual bool save(const std::string& path) = 0;
};

}  // namespace vantorel::hospital_name
