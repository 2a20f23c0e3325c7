#include "console/ui/pages/about_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantorel::console::ui {

AboutPage::AboutPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("aboutPage"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("关于"), this);
    heading->setObjectName(QStringLiteral("pageHeading"));
    layout->addWidget(heading);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        lines_[i] = new QLabel(this);
        lines_[i]->setObjectName(QStringLiteral("aboutLine%1").arg(i + 1));
        lines_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(lines_[i]);
    }
    layout->addStretch(1);
}

void AboutPage::setLines(const std::array<std::string, 8>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines_[i]->setText(QString::fromStdString(lines[i]));
}

QString AboutPage::line(int index) const
{
    return index >= 0 && index < 8 ? lines_[index]->text() : QString();
}

}  // namespace vantorel::console::ui
