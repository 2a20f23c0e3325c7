#pragma once

#include "settings/access_control.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>

class QLineEdit;
class QWidget;

namespace vantorel::console::ui {

// Binds the access rule to the three password boxes and the three locked
// groups (DICOM, print, run settings). The groups are disabled from the start.
class AccessGate final : public QObject, private settings::AccessControl::View {
    Q_OBJECT
public:
    struct Lock {
        QLineEdit* box;
        QWidget* group;
    };
    // `isPassword`: what unlocks (default: the fixed system password).
    AccessGate(Lock dicom, Lock print, Lock run, std::function<bool(const std::string&)> isPassword = {},
               QObject* parent = nullptr);

    const settings::AccessControl& control() const { return control_; }

private:
    void showBoxText(settings::LockedPage page, const std::string& text) override;
    void enableGroup(settings::LockedPage page, bool enabled) override;
    const Lock& lock(settings::LockedPage page) const { return locks_[static_cast<std::size_t>(page)]; }

    std::array<Lock, 3> locks_;
    settings::AccessControl control_;
};

}  // namespace vantorel::console::ui
