#include "console/ui/message_box_operator_messages.h"

#include <QMessageBox>

namespace vantorel::console::ui {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

}  // namespace

void MessageBoxOperatorMessages::show(const std::string& text, const std::string& title,
                                      MessageIcon icon)
{
    // A hidden main window still gets its message: the box then stands alone.
    QWidget* parent = parent_ && parent_->isVisible() ? parent_.data() : nullptr;
    QMessageBox box(boxIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("operatorMessage"));
    box.setWindowModality(Qt::ApplicationModal);
    if (onShown)
        onShown(box);
    box.exec();
}

}  // namespace vantorel::console::ui
