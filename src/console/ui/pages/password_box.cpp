#include "console/ui/pages/password_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace vantorel::console::ui {

PasswordBox::PasswordBox(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("passwordBox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("设置密码："), this);
    label->setBuddy(edit_);
    edit_->setObjectName(QStringLiteral("password"));
    edit_->setEchoMode(QLineEdit::Password);
    // The style's own mask character differs between platforms; the operator
    // sees "*" (42) everywhere. A widget rule outranks any skin.
    edit_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edit_->setFixedWidth(160);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addStretch(1);
}

}  // namespace vantorel::console::ui
