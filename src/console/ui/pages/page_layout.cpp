#include "console/ui/pages/page_layout.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vantorel::console::ui {

QLabel* pageHeading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    heading->setObjectName(QStringLiteral("pageHeading"));
    return heading;
}

QWidget* filmManagementFrame(QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("filmManagementPage"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(pageHeading(QStringLiteral("胶片管理"), page));
    auto* dates = new QFormLayout;
    auto* from = new QDateEdit(page);
    from->setObjectName(QStringLiteral("filmDateFrom"));
    auto* to = new QDateEdit(page);
    to->setObjectName(QStringLiteral("filmDateTo"));
    for (QDateEdit* edit : {from, to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    dates->addRow(QStringLiteral("从"), from);
    dates->addRow(QStringLiteral("到"), to);
    layout->addLayout(dates);
    layout->addStretch(1);
    return page;
}

}  // namespace vantorel::console::ui
