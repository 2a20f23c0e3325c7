#pragma once

#include "base/operator_messages.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QMessageBox;

namespace vantorel::console::ui {

// Operator messages as modal message boxes: the text, the title and the icon,
// one "OK" button; show() returns when the operator has closed the box.
class MessageBoxOperatorMessages final : public base::OperatorMessages {
public:
    void setParentWindow(QWidget* window) { parent_ = window; }
    void show(const std::string& text, const std::string& title, base::MessageIcon icon) override;

    // Called with each box just before it waits for the operator (tests close it).
    std::function<void(QMessageBox&)> onShown;

private:
    QPointer<QWidget> parent_;
};

}  // namespace vantorel::console::ui
