#pragma once

#include "console/ui/pages/page_services.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vantorel::console::ui {

// "胶片输出方式" of the print page: automatic layout with its four margin
// sliders, or user-defined formats with the paper bin and the format designer.
// The chosen mode's panel is enabled, the other one disabled; the mode and the
// margins act on the next film before any save.
class OutputModePanel final : public QGroupBox {
    Q_OBJECT
public:
    enum Margin { Left, Top, Right, Bottom };

    OutputModePanel(PageContext context, DesktopLauncher& desktop, TemplateDesignerOpener& designer,
                    QWidget* parent = nullptr);

    void showSettings();

    bool templateMode() const;
    int margin(Margin which) const;
    bool useBin() const;
    QString binText() const;

    QRadioButton* autoLayoutChoice() const { return autoLayout_; }
    QRadioButton* templateChoice() const { return template_; }
    QWidget* autoLayoutPanel() const { return autoPanel_; }
    QWidget* templatePanel() const { return templatePanel_; }
    QSlider* slider(Margin which) const { return sliders_[which]; }
    QLabel* sliderValue(Margin which) const { return values_[which]; }
    QCheckBox* useBinBox() const { return useBin_; }
    QComboBox* binBox() const { return bin_; }
    QPushButton* designerButton() const { return designer_; }

    // "胶片格式设计": starts the designer program beside the program when
    // there is one, else opens the built-in designer window.
    void startDesigner();

    // The designer's file name in the home folder.
    static QString designerFileName();

private:
    QWidget* buildAutoPanel();
    QWidget* buildTemplatePanel();
    void showMode(bool templateMode);
    void marginMoved(Margin which, int value);

    PageContext context_;
    DesktopLauncher& desktop_;
    TemplateDesignerOpener& designerWindow_;
    QRadioButton* autoLayout_ = nullptr;
    QRadioButton* template_ = nullptr;
    QWidget* autoPanel_ = nullptr;
    QWidget* templatePanel_ = nullptr;
    std::array<QSlider*, 4> sliders_{};
    std::array<QLabel*, 4> values_{};
    QCheckBox* useBin_ = nullptr;
    QComboBox* bin_ = nullptr;
    QPushButton* designer_ = nullptr;
};

}  // namespace vantorel::console::ui
