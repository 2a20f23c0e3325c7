#include "template_composition/qt/template_preview.h"

#include "direct_composition/qt/film_page_painter.h"
#include "template_composition/ac_report.h"
#include "template_composition/report_page.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <map>

namespace vantorel::template_composition {

namespace {

direct_composition::Picture drawPlaceholder(int number)
{
    QImage image(512, 512, QImage::Format_Grayscale8);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 512, 512);
    gradient.setColorAt(0, QColor(40, 40, 40));
    gradient.setColorAt(1, QColor(150, 150, 150));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, 6));
    painter.drawRect(image.rect().adjusted(3, 3, -3, -3));
    QFont font;
    font.setPixelSize(220);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(number));
    painter.end();
    return direct_composition::fromQImage(image);
}

}  // namespace

direct_composition::Picture placeholderPicture(int number)
{
    // Drawn once each: a designer's preview asks for them at every change.
    static std::map<int, direct_composition::Picture> drawn;
    auto found = drawn.find(number);
    if (found == drawn.end())
        found = drawn.emplace(number, drawPlaceholder(number)).first;
    return found->second;
}

direct_composition::FilmPage templatePreviewPage(const ReportLayout& layout)
{
    AcReport report;
    report.loadLayout(layout);
    for (int n = 1; n <= maxFillSlots; ++n) {
        ReportControl* slot = report.slot("Image" + std::to_string(n));
        if (slot && slot->kind == ReportControl::Kind::Image && slot->visible)
            slot->picture = placeholderPicture(n);
    }
    return layoutReportPage(report);
}

QImage renderTemplatePreview(const ReportLayout& layout, int widthPixels)
{
    return direct_composition::renderFilmPreview(templatePreviewPage(layout), widthPixels);
}

}  // namespace vantorel::template_composition
