#pragma once

#include <QWidget>

class QLineEdit;

namespace vantorel::console::ui {

// The password box of a locked page: "设置密码：" followed by a box that
// shows "*" for every character typed.
class PasswordBox final : public QWidget {
    Q_OBJECT
public:
    explicit PasswordBox(QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

}  // namespace vantorel::console::ui
