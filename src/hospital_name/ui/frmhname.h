#pragma once

#include "base/fwd.h"
#include "hospital_name/header_editor.h"
#include "hospital_name/qt/name_picture.h"
#include "hospital_name/ui/qt_editor_dialogs.h"
#include "settings/fwd.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantorel::hospital_name::ui {

// The hospital-name editor's window, "医院名称设置": the custom-picture box,
// the name, its text style, the start points, save, undo, close and the
// preview. The preview draws the name on the base picture as it is typed and
// says under it when the name does not fit; after a save or an undo it shows
// the picture those left. A window of its own (owned by `owner`, not modal);
// it loads its state when made.
class Frmhname final : public QWidget {
    Q_OBJECT
public:
    Frmhname(QWidget* owner, settings::SettingsStore& store, settings::HeaderSettings& header,
             base::RunLog& log);

    const HeaderEditor& editor() const { return editor_; }
    // The picture that a save writes to yy.bmp, and the one on screen.
    const QImage& preview() const { return picture_.image(); }
    const QImage& shownPreview() const { return shown_; }

    static constexpr const char* nameTooLong = "医院名称超出图片范围，请缩短名称或减小字号。";

private:
    void build();
    void showState();
    void showPicture(const QImage& image);
    void showTypedName();

    NamePicture picture_;
    QtEditorDialogs dialogs_;
    HeaderEditor editor_;
    QImage base_;  // 医院名称.bmp as the window opened
    QImage shown_;

    QCheckBox* customPicture_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* styleText_ = nullptr;
    QPushButton* textStyle_ = nullptr;
    QLineEdit* left_ = nullptr;
    QLineEdit* top_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* previewNote_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace vantorel::hospital_name::ui
