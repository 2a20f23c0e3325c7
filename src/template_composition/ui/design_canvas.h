#pragma once

#include "template_composition/template_design.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace vantorel::template_composition::ui {

// The page of the template being designed, drawn by the film page code with
// numbered placeholder pictures in its slots, at the sheet's true aspect (the
// widget's size follows the sheet). Every control has a thin outline; the
// selected one a stronger one and a handle at its lower right corner. The
// mouse selects, moves (by the body) and resizes (by the handle) a control;
// the arrow keys move it by 1 mm.
class DesignCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit DesignCanvas(QWidget* parent = nullptr);

    // Shows this design (not owned; changed in place), nothing selected.
    void setDesign(TemplateDesign* design);
    // Draws the page again after the design changed elsewhere.
    void refresh();

    std::optional<std::size_t> selected() const { return selected_; }
    void select(std::optional<std::size_t> index);

    // Widget pixels per twip.
    double scale() const;

signals:
    // The selection or the selected control's place or size changed.
    void selectionChanged();
    void designChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Move, Resize };

    // Twips from the top-left margin of a widget point, and back.
    QPointF toLayout(QPointF point) const;
    QRectF toWidget(const ReportControl& control) const;
    QRectF handle() const;
    void fitToSheet();

    TemplateDesign* design_ = nullptr;
    std::optional<std::size_t> selected_;
    QImage page_;
    Drag drag_ = Drag::None;
    QPointF grab_;  // the press point's offset from the control's corner, twips
};

}  // namespace vantorel::template_composition::ui
