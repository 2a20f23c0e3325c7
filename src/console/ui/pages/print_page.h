#pragma once

#include "console/ui/pages/page_services.h"
#include "settings/print_page_save.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vantorel::console::ui {

class OutputModePanel;
class PasswordBox;
class RoutingRows;

// "打印设置": routing, the printer for other sizes, the output mode and the
// film switches, locked behind the password. Live fields act on the next film
// as soon as they are edited; "保存设置" writes the page's keys.
class PrintPage final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        HeaderEditorOpener& headerEditor;
        ReportPageControl& reportPage;
        DesktopLauncher& desktop;
        TemplateDesignerOpener& templateDesigner;
    };
    PrintPage(PageContext context, Services services, QWidget* parent = nullptr);

    // Shows the settings model on every control of the page.
    void showSettings();
    void setHeaderEditorEnabled(bool enabled);

    // What the page's controls hold, as the save writes it.
    settings::PrintPageValues values() const;
    void save();
    void openHelp();

    QLineEdit* passwordEdit() const;
    QWidget* lockedGroup() const;
    RoutingRows& routing() const { return *routing_; }
    OutputModePanel& outputMode() const { return *output_; }
    QComboBox* otherPaperBox() const { return otherPaper_; }
    QComboBox* otherPrinterBox() const { return otherPrinter_; }
    QCheckBox* blackBaseBox() const { return blackBase_; }
    QCheckBox* lutBox() const { return lut_; }
    QCheckBox* printHeaderBox() const { return printHeader_; }
    QPushButton* headerEditorButton() const { return headerEditor_; }
    QPushButton* helpButton() const { return help_; }
    QPushButton* saveButton() const { return save_; }

private:
    QWidget* buildOtherSizes(QWidget* parent);
    QWidget* buildSwitches(QWidget* parent);

    PageContext context_;
    Services services_;
    QPointer<QDialog> readmeHelp_;  // the README help window while it is open
    PasswordBox* password_ = nullptr;
    QGroupBox* group_ = nullptr;
    RoutingRows* routing_ = nullptr;
    OutputModePanel* output_ = nullptr;
    QComboBox* otherPaper_ = nullptr;
    QComboBox* otherPrinter_ = nullptr;
    QCheckBox* blackBase_ = nullptr;
    QCheckBox* lut_ = nullptr;
    QCheckBox* printHeader_ = nullptr;
    QPushButton* headerEditor_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* save_ = nullptr;
};

}  // namespace vantorel::console::ui
