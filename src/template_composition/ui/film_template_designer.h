#pragma once

#include "template_composition/template_design.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantorel::template_composition::ui {

class DesignCanvas;

// "胶片格式设计": makes film templates for <home>/ReportMode/. The left
// column lays a new grid out (paper, orientation, format, margins, gap, black
// base) as `vantorel-template new` does; the page in the middle shows the
// template as a film through it would look, and its controls are moved and
// resized with the mouse (1 mm grid) and the arrow keys; the right column
// sets the selected slot's fit and alignment, a label's text and font, and
// adds labels, lines and a picture. "保存" writes the file under the name
// shown below the page (asking first before it replaces one); "打开" loads
// any template of the folder, keeping what the designer does not edit. A
// window of its own, never modal: films go on printing while it is open.
class FilmTemplateDesigner final : public QWidget {
    Q_OBJECT
public:
    FilmTemplateDesigner(QWidget* owner, QString homeFolder);

    const TemplateDesign& design() const { return *design_; }
    // Where "保存" writes: <home>/ReportMode/<the chooser's name>.
    QString targetPath() const;

    // Lays out the grid the left column asks for; false (and says why) when it cannot.
    [[nodiscard]] bool layOut();
    // Loads a template; false (and says why) when it cannot be read.
    [[nodiscard]] bool openFile(const QString& path);
    // Writes the template; false when the operator declines to replace a
    // file or the write fails (and says why).
    [[nodiscard]] bool save();

private:
    QWidget* buildGridPanel();
    QWidget* buildControlPanel();
    QWidget* buildFilePanel();
    void setDesign(TemplateDesign design);
    void showSelection();
    void designEdited();
    void applyLabel();
    void chooseOpenFile();
    void addPicture();
    void kindChanged();
    void tell(const QString& text);

    QString homeFolder_;
    std::optional<TemplateDesign> design_;

    QComboBox* paper_ = nullptr;
    QDoubleSpinBox* customWidth_ = nullptr;
    QDoubleSpinBox* customHeight_ = nullptr;
    QComboBox* orientation_ = nullptr;
    QComboBox* formatKind_ = nullptr;
    QLabel* colsLabel_ = nullptr;
    QLabel* rowsLabel_ = nullptr;
    QSpinBox* cols_ = nullptr;
    QSpinBox* rows_ = nullptr;
    QDoubleSpinBox* margin_ = nullptr;
    QDoubleSpinBox* gap_ = nullptr;
    QCheckBox* blackBase_ = nullptr;

    DesignCanvas* canvas_ = nullptr;

    QLabel* selection_ = nullptr;
    QComboBox* sizeMode_ = nullptr;
    QComboBox* alignment_ = nullptr;
    QLineEdit* labelText_ = nullptr;
    QFontComboBox* labelFont_ = nullptr;
    QSpinBox* labelSize_ = nullptr;
    QCheckBox* labelBold_ = nullptr;
    QPushButton* remove_ = nullptr;

    QLabel* fileName_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace vantorel::template_composition::ui
