#pragma once

#include "hospital_name/header_editor.h"
#include "hospital_name/qt/name_picture.h"
#include "hospital_name/ui/qt_editor_dialogs.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantorel::console {
struct HeaderSettings;
class RunLog;
class SettingsStore;
}  // namespace vantorel::console

namespace vantorel::hospital_name::ui {

// The hospital-name editor's window, "医院名称设置": the custom-picture box,
// the name, its text style, the start points, save, undo and the preview.
// A window of its own (owned by `owner`, not modal); it loads its state when
// made.
class Frmhname final : public QWidget {
    Q_OBJECT
public:
    Frmhname(QWidget* owner, console::SettingsStore& store, console::HeaderSettings& header,
             console::RunLog& log);

    const HeaderEditor& editor() const { return editor_; }
    const QImage& preview() const { return picture_.image(); }

private:
    void build();
    void showState();
    void showPreview();

    NamePicture picture_;
    QtEditorDialogs dialogs_;
    HeaderEditor editor_;

    QCheckBox* customPicture_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLabel* styleText_ = nullptr;
    QPushButton* textStyle_ = nullptr;
    QLineEdit* left_ = nullptr;
    QLineEdit* top_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* undo_ = nullptr;
};

}  // namespace vantorel::hospital_name::ui
