#include "template_composition/qt/template_preview.h"

#include "direct_composition/qt/film_page_painter.h"
#include "template_composition/ac_report.h"
#include "template_composition/report_filling.h"
#include "template_composition/report_page.h"
#include "template_composition/template_check.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <map>
#include <optional>
#include <vector>

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

namespace {

// A film of as many images as the template has image slots, up to its last.
std::vector<std::optional<direct_composition::Picture>> placeholderCells(AcReport& report, bool rowColumn)
{
    std::vector<std::optional<direct_composition::Picture>> cells;
    for (int n = 1; n <= (rowColumn ? maxRowColumnSlots : maxFillSlots); ++n) {
        const ReportControl* slot = report.slot("Image" + std::to_string(n));
        if (slot && slot->kind == ReportControl::Kind::Image)
            cells.resize(static_cast<std::size_t>(n));
    }
    for (std::size_t k = 0; k < cells.size(); ++k)
        cells[k] = placeholderPicture(static_cast<int>(k + 1));
    return cells;
}

}  // namespace

bool rowColumnTemplateName(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    if (!name.empty() && name[0] == 'L')
        name.erase(0, 1);
    return name.rfind("ROW", 0) == 0 || name.rfind("COL", 0) == 0;
}

std::optional<std::string> templatePreviewProblem(const ReportLayout& layout, bool rowColumn)
{
    AcReport report;
    report.loadLayout(layout);
    const std::vector<bool> filled(placeholderCells(report, rowColumn).size(), true);
    return unusableTemplate(report.controls(), report.page(), filled, rowColumn);
}

direct_composition::FilmPage templatePreviewPage(const ReportLayout& layout, bool rowColumn)
{
    AcReport report;
    report.loadLayout(layout);
    fillFilmCells(report, placeholderCells(report, rowColumn), rowColumn);
    return layoutReportPage(report);
}

QImage renderTemplatePreview(const ReportLayout& layout, int widthPixels, bool rowColumn)
{
    return direct_composition::renderFilmPreview(templatePreviewPage(layout, rowColumn), widthPixels);
}

}  // namespace vantorel::template_composition
