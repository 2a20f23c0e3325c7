#include "template_composition/ui/design_canvas.h"

#include "template_composition/qt/template_preview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vantorel::template_composition::ui {

namespace {

// The largest the page is shown; the other side follows the sheet's aspect.
constexpr int maxWidth = 520;
constexpr int maxHeight = 640;
constexpr double handleSize = 8;

}  // namespace

DesignCanvas::DesignCanvas(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setFixedSize(maxWidth, maxHeight);
}

void DesignCanvas::setDesign(TemplateDesign* design)
{
    design_ = design;
    selected_.reset();
    fitToSheet();
    refresh();
    emit selectionChanged();
}

void DesignCanvas::fitToSheet()
{
    if (!design_)
        return;
    const ReportPageSettings page = design_->page();
    const double aspect = page.sheetWidth() / std::max(1.0f, page.sheetHeight());
    if (aspect > double(maxWidth) / maxHeight)
        setFixedSize(maxWidth, std::max(1, int(std::lround(maxWidth / aspect))));
    else
        setFixedSize(std::max(1, int(std::lround(maxHeight * aspect))), maxHeight);
}

void DesignCanvas::refresh()
{
    page_ = design_
        ? renderTemplatePreview(design_->layout(), width(), rowColumnTemplateName(design_->fileName()))
        : QImage();
    update();
}

void DesignCanvas::select(std::optional<std::size_t> index)
{
    if (index && (!design_ || *index >= design_->count()))
        index.reset();
    selected_ = index;
    update();
    emit selectionChanged();
}

double DesignCanvas::scale() const
{
    if (!design_)
        return 1;
    return width() / std::max(1.0, double(design_->page().sheetWidth()));
}

QPointF DesignCanvas::toLayout(QPointF point) const
{
    const ReportPageSettings page = design_->page();
    return {point.x() / scale() - page.marginLeft, point.y() / scale() - page.marginTop};
}

QRectF DesignCanvas::toWidget(const ReportControl& c) const
{
    const ReportPageSettings page = design_->page();
    QRectF box = c.kind == ReportControl::Kind::Line
        ? QRectF(QPointF(c.x1, c.y1), QPointF(c.x2, c.y2)).normalized()
        : QRectF(c.left, c.top, c.width, c.height);
    box.translate(page.marginLeft, page.marginTop);
    const double s = scale();
    return {box.x() * s, box.y() * s, std::max(2.0, box.width() * s), std::max(2.0, box.height() * s)};
}

QRectF DesignCanvas::handle() const
{
    if (!design_ || !selected_)
        return {};
    const QRectF box = toWidget(design_->control(*selected_));
    return {box.right() - handleSize / 2, box.bottom() - handleSize / 2, handleSize, handleSize};
}

void DesignCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!design_)
        return;
    painter.drawImage(0, 0, page_);
    const ReportPageSettings page = design_->page();
    const double s = scale();
    // The margins, dotted.
    painter.setPen(QPen(QColor(0, 160, 255), 1, Qt::DotLine));
    painter.drawRect(QRectF(page.marginLeft * s, page.marginTop * s,
                            (page.sheetWidth() - page.marginLeft - page.marginRight) * s,
                            (page.sheetHeight() - page.marginTop - page.marginBottom) * s));
    for (std::size_t i = 0; i < design_->count(); ++i) {
        const ReportControl& c = design_->control(i);
        if (!c.visible || c.name == "Base")
            continue;
        painter.setPen(QPen(QColor(0, 200, 255), 1, Qt::DashLine));
        painter.drawRect(toWidget(c));
    }
    if (selected_) {
        painter.setPen(QPen(QColor(255, 140, 0), 2));
        painter.drawRect(toWidget(design_->control(*selected_)));
        painter.fillRect(handle(), QColor(255, 140, 0));
    }
}

void DesignCanvas::mousePressEvent(QMouseEvent* event)
{
    if (!design_ || event->button() != Qt::LeftButton)
        return;
    setFocus();
    if (selected_ && handle().adjusted(-2, -2, 2, 2).contains(event->position())) {
        drag_ = Drag::Resize;
        return;
    }
    const QPointF at = toLayout(event->position());
    select(design_->controlAt(float(at.x()), float(at.y())));
    if (!selected_) {
        drag_ = Drag::None;
        return;
    }
    const QRectF box = toWidget(design_->control(*selected_));
    grab_ = (event->position() - box.topLeft()) / scale();
    drag_ = Drag::Move;
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!design_ || !selected_ || drag_ == Drag::None)
        return;
    const QPointF at = toLayout(event->position());
    if (drag_ == Drag::Move) {
        design_->moveTo(*selected_, float(at.x() - grab_.x()), float(at.y() - grab_.y()));
    } else {
        const ReportControl& c = design_->control(*selected_);
        const float left = c.kind == ReportControl::Kind::Line ? std::min(c.x1, c.x2) : c.left;
        const float top = c.kind == ReportControl::Kind::Line ? std::min(c.y1, c.y2) : c.top;
        design_->resizeTo(*selected_, float(at.x()) - left, float(at.y()) - top);
    }
    refresh();
    emit designChanged();
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent*)
{
    drag_ = Drag::None;
}

void DesignCanvas::keyPressEvent(QKeyEvent* event)
{
    if (!design_ || !selected_) {
        QWidget::keyPressEvent(event);
        return;
    }
    int right = 0, down = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        right = -1;
        break;
    case Qt::Key_Right:
        right = 1;
        break;
    case Qt::Key_Up:
        down = -1;
        break;
    case Qt::Key_Down:
        down = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    design_->nudge(*selected_, right, down);
    refresh();
    emit designChanged();
}

}  // namespace vantorel::template_composition::ui
