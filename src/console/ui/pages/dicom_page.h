#pragma once

#include "console/ui/pages/page_services.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantorel::console {
class PortControl;
}  // namespace vantorel::console

namespace vantorel::console::ui {

class PasswordBox;

// "DICOM设置": the AE title, the listening port and the handling of unusual
// print commands, locked behind the password. Saving writes "PrtBC" and "AE"
// and hands the port to the print service's port change.
class DicomPage final : public QWidget {
    Q_OBJECT
public:
    DicomPage(PageContext context, PortControl& portControl, QWidget* parent = nullptr);

    // Shows the settings model's AE title, port and conversion choice.
    void showSettings();
    void save();

    QLineEdit* passwordEdit() const;
    QWidget* lockedGroup() const;
    QLineEdit* aeTitleEdit() const { return aeTitle_; }
    QLineEdit* portEdit() const { return port_; }
    QRadioButton* asReceived() const { return asReceived_; }
    QRadioButton* convert() const { return convert_; }
    QPushButton* saveButton() const { return save_; }

signals:
    // After a save: the fourth status panel shows `port`; `listenedAnew` when
    // the port changed, and then whether the new port is `listening`.
    void listenStatusChanged(const QString& port, bool listenedAnew, bool listening);

private:
    QWidget* buildCommandGroup(QWidget* parent);

    PageContext context_;
    PortControl& portControl_;
    PasswordBox* password_;
    QGroupBox* group_;
    QLineEdit* aeTitle_;
    QLineEdit* port_;
    QRadioButton* asReceived_;
    QRadioButton* convert_;
    QPushButton* save_;
};

}  // namespace vantorel::console::ui
