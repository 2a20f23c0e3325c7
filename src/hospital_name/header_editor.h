#pragma once

#include "base/fwd.h"
#include "hospital_name/editor_ports.h"
#include "hospital_name/name_style.h"
#include "settings/fwd.h"

#include <string>

namespace vantorel::hospital_name {

// What the editor window shows.
struct EditorState {
    bool customPicture = false;  // the header comes from 医院名称\yymc.bmp
    std::string name;
    NameStyle style;
    std::string left;  // start point of the generated header on the film, twips
    std::string top;
};

// The hospital-name editor without its window: the operator's operations on
// the header settings, the preview picture and Hospital.ini. Of the settings
// it takes, and changes, only the header view (HeaderSettings). Every
// operation goes on past a failing step; a file that cannot be written is
// logged.
class HeaderEditor {
public:
    static constexpr const char* saveTitle = "请确认";
    static constexpr const char* saveQuestion = "确认保存，将覆盖胶片上原来的医院名称图片。确认保存？";
    static constexpr const char* undoTitle = "撤销";
    static constexpr const char* undoQuestion = "撤销本次更改？";

    HeaderEditor(settings::SettingsStore& store, settings::HeaderSettings& header, PreviewPicture& preview,
                 EditorDialogs& dialogs, base::RunLog& log);

    // Loads the state from the header settings and the custom-picture key and
    // the preview from the base picture. With the custom picture on, opening
    // switches it on again (the key is written once more).
    void open();

    // Writes the custom-picture key at once and follows it in the header
    // settings; editing is possible only while it is off.
    void setCustomPicture(bool on);
    bool editingEnabled() const { return !state_.customPicture; }

    void setName(const std::string& name);
    void setLeft(const std::string& left);
    void setTop(const std::string& top);

    // The font dialog, then the colour dialog; what they hand back is applied,
    // except a value the name cannot take (no font name, a size that is not
    // positive).
    void chooseFont();

    // After a Yes: draws the name on the preview, writes yy.bmp, the seven
    // Hospital keys and the header settings. True when the operator said Yes.
    [[nodiscard]] bool save();

    // After a Yes: the preview returns to the base picture. Nothing else changes.
    bool undo();

    const EditorState& state() const { return state_; }

    std::string basePicturePath() const;  // <home>/医院名称.bmp
    std::string namePicturePath() const;  // <home>/yy.bmp

private:
    void writeHospital(const settings::KeyName& key, const std::string& value, bool& allWritten);

    settings::SettingsStore& store_;
    settings::HeaderSettings& header_;
    PreviewPicture& preview_;
    EditorDialogs& dialogs_;
    base::RunLog& log_;
    EditorState state_;
};

// The bold flag as the settings hold it ("True", "False", or a number where
// anything but 0 is true); other text is false.
bool boldFromText(const std::string& text);

// Size in points as Hospital.ini holds it: decimal, fractions kept ("10.5", "12").
std::string pointSizeText(double points);

}  // namespace vantorel::hospital_name
