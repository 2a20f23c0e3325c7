#include "hospital_name/ui/qt_editor_dialogs.h"

#include "console/ui/qt_translations.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace vantorel::hospital_name::ui {

bool QtEditorDialogs::askYesNo(const std::string& title, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setObjectName(QStringLiteral("editorQuestion"));
    return box.exec() == QMessageBox::Yes;
}

NameStyle QtEditorDialogs::chooseFont(const NameStyle& current)
{
    QFont initial(QString::fromStdString(current.font));
    if (current.pointSize > 0)
        initial.setPointSizeF(current.pointSize);
    initial.setBold(current.bold);
    initial.setItalic(current.italic);
    // A cancelled dialog hands back the font it started with.
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, console::ui::withFontStyleName(initial), parent_,
                                            QString(), QFontDialog::DontUseNativeDialog);
    NameStyle chosen = current;
    chosen.font = font.family().toStdString();
    chosen.pointSize = font.pointSizeF();
    chosen.bold = font.bold();
    chosen.italic = font.italic();
    return chosen;
}

std::uint32_t QtEditorDialogs::chooseColour(std::uint32_t current)
{
    const QColor initial(redOf(current), greenOf(current), blueOf(current));
    const QColor colour =
        QColorDialog::getColor(initial, parent_, QString(), QColorDialog::DontUseNativeDialog);
    // A cancelled dialog hands back no colour: the current one stays.
    if (!colour.isValid())
        return current;
    return colourValue(colour.red(), colour.green(), colour.blue());
}

}  // namespace vantorel::hospital_name::ui
