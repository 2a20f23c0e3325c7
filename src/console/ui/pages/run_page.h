#pragma once

#include "console/ui/pages/page_services.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace vantorel::console::ui {

class PasswordBox;

// "运行设置": film saving (which switches the monthly purge timer at once)
// and starting with the desktop session, locked behind the password.
class RunPage final : public QWidget {
    Q_OBJECT
public:
    struct Services {
        PurgeTimer& purgeTimer;
        QString executablePath;    // what the autostart entry starts
        QString applicationTitle;  // title of the film-saving message
    };
    RunPage(PageContext context, Services services, QWidget* parent = nullptr);

    void showAutoRun(bool on);
    // The box as the saved setting holds; film saving and the purge timer follow.
    void showFilmSaving(bool on);
    void save();

    QLineEdit* passwordEdit() const;
    QWidget* lockedGroup() const;
    QCheckBox* saveFilmsBox() const { return saveFilms_; }
    QCheckBox* autoRunBox() const { return autoRun_; }
    QPushButton* saveButton() const { return save_; }

private:
    void saveFilmsToggled(bool on);
    void switchFilmSaving(bool on);

    PageContext context_;
    Services services_;
    PasswordBox* password_;
    QGroupBox* group_;
    QCheckBox* saveFilms_;
    QCheckBox* autoRun_;
    QPushButton* save_;
};

}  // namespace vantorel::console::ui
