#include "console/ui/message_box_operator_messages.h"

#include <QMessageBox>

namespace vantorel::console::ui {

namespace {

QMessageBox::Icon boxIcon(base::MessageIcon icon)
{
    switch (icon) {
    case base::MessageIcon::Warning:
        return QMessageBox::Warning;
    case base::MessageIcon::Critical:
        return QMessageBox::Critical;
    case base::MessageIcon::None:
        return QMessageBox::NoIcon;
    case base::MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

}  // namespace

void MessageBoxOperatorMessages::show(const std::string& text, const std::string& title,
                                      base::MessageIcon icon)
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
