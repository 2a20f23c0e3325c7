#include "console/ui/pages/page_layout.h"

#include <QLabel>

namespace vantorel::console::ui {

QLabel* pageHeading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("pageHeading"));
    return heading;
}

}  // namespace vantorel::console::ui
