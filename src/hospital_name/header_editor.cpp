#include "hospital_name/header_editor.h"

#include "base/number_rules.h"
#include "base/run_log.h"
#include "base/text.h"
#include "settings/header_settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <cctype>
#include <cmath>

namespace vantorel::hospital_name {

namespace {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool startsWithNumber(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (i < text.size() && text[i] == '.')
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

}  // namespace

bool boldFromText(const std::string& text)
{
    const std::string value = lowerAscii(base::trimBlanks(text));
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    return startsWithNumber(value) && base::leadingNumber(value) != 0;
}

std::string pointSizeText(double points)
{
    return base::numberText(points);
}

HeaderEditor::HeaderEditor(settings::SettingsStore& store, settings::HeaderSettings& header,
                           PreviewPicture& preview, EditorDialogs& dialogs, base::RunLog& log)
    : store_(store), header_(header), preview_(preview), dialogs_(dialogs), log_(log)
{}

std::string HeaderEditor::basePicturePath() const
{
    return store_.homeFolder() + "/医院名称.bmp";
}
std::string HeaderEditor::namePicturePath() const
{
    return store_.homeFolder() + "/yy.bmp";
}

void HeaderEditor::open()
{
    state_.name = header_.hname;
    state_.left = header_.hleft;
    state_.top = header_.htop;
    state_.style.font = header_.hzt;
    state_.style.pointSize = base::leadingNumber(header_.hzh);
    state_.style.bold = boldFromText(header_.hct);
    state_.style.italic = false;
    // The colour box holds 24 bits.
    const double colour = base::roundHalfEven(base::leadingNumber(header_.hys));
    state_.style.colour = colour >= 0 && colour <= 0xffffff ? static_cast<std::uint32_t>(colour) : 0;
    preview_.reload(basePicturePath());

    const std::string custom = base::trimBlanks(store_.readSetting(settings::keys::customHeaderName, "0"));
    state_.customPicture = custom != "0";
    if (state_.customPicture)
        setCustomPicture(true);
}

void HeaderEditor::setCustomPicture(bool on)
{
    state_.customPicture = on;
    const std::string value = on ? "1" : "0";
    header_.yyname = value;
    if (!store_.writeSetting(settings::keys::customHeaderName, value))
        log_.write("医院名称设置无法写入：" + store_.pathOf(settings::files::hospital));
}

void HeaderEditor::setName(const std::string& name)
{
    state_.name = name;
}
void HeaderEditor::setLeft(const std::string& left)
{
    state_.left = left;
}
void HeaderEditor::setTop(const std::string& top)
{
    state_.top = top;
}

void HeaderEditor::chooseFont()
{
    if (!editingEnabled())
        return;
    const NameStyle chosen = dialogs_.chooseFont(state_.style);
    if (!chosen.font.empty())
        state_.style.font = chosen.font;
    if (std::isfinite(chosen.pointSize) && chosen.pointSize > 0)
        state_.style.pointSize = chosen.pointSize;
    state_.style.bold = chosen.bold;
    state_.style.italic = chosen.italic;
    state_.style.colour = dialogs_.chooseColour(state_.style.colour) & 0xffffffu;
}

bool HeaderEditor::save()
{
    if (!editingEnabled() || !dialogs_.askYesNo(saveTitle, saveQuestion))
        return false;

    preview_.drawName(state_.name, state_.style);
    if (!preview_.save(namePicturePath()))
        log_.write("医院名称图片无法写入：" + namePicturePath());

    const std::string left = base::trimBlanks(state_.left);
    const std::string top = base::trimBlanks(state_.top);
    const std::string colour = std::to_string(state_.style.colour);
    const std::string size = pointSizeText(state_.style.pointSize);
    const std::string bold = state_.style.bold ? "True" : "False";
    bool allWritten = true;
    writeHospital(settings::keys::hospitalName, state_.name, allWritten);
    writeHospital(settings::keys::headerLeft, left, allWritten);
    writeHospital(settings::keys::headerTop, top, allWritten);
    writeHospital(settings::keys::headerColour, colour, allWritten);
    writeHospital(settings::keys::headerFont, state_.style.font, allWritten);
    writeHospital(settings::keys::headerPointSize, size, allWritten);
    writeHospital(settings::keys::headerBold, bold, allWritten);
    if (!allWritten)
        log_.write("医院名称设置无法写入：" + store_.pathOf(settings::files::hospital));

    // The next film's header uses these at once.
    header_.hleft = left;
    header_.htop = top;
    header_.hname = state_.name;
    header_.hys = colour;
    header_.hzt = state_.style.font;
    header_.hzh = size;
    header_.hct = bold;
    return true;
}

bool HeaderEditor::undo()
{
    if (!editingEnabled() || !dialogs_.askYesNo(undoTitle, undoQuestion))
        return false;
    preview_.reload(basePicturePath());
    return true;
}

void HeaderEditor::writeHospital(const settings::KeyName& key, const std::string& value, bool& allWritten)
{
    allWritten = store_.writeSetting(key, value) && allWritten;
}

}  // namespace vantorel::hospital_name
