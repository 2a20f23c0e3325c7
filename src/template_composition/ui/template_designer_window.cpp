#include "template_composition/ui/template_designer_window.h"

#include "template_composition/ui/film_template_designer.h"

#include <QScreen>

#include <algorithm>

namespace vantorel::template_composition::ui {

TemplateDesignerWindow::TemplateDesignerWindow(QString homeFolder) : homeFolder_(std::move(homeFolder)) {}

// A window still open when the program ends goes with its owner.
TemplateDesignerWindow::~TemplateDesignerWindow() = default;

FilmTemplateDesigner* TemplateDesignerWindow::window() const
{
    return window_.data();
}

void TemplateDesignerWindow::open(QWidget* owner)
{
    if (!window_) {
        window_ = new FilmTemplateDesigner(owner, homeFolder_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->adjustSize();
        if (owner) {
            // First shown over the middle of the main window, but whole on
            // its screen when it is the larger of the two.
            QPoint corner = owner->frameGeometry().center() - window_->rect().center();
            if (const QScreen* screen = owner->screen()) {
                const QRect room = screen->availableGeometry();
                corner.setX(std::clamp(corner.x(), room.left(),
                                       std::max(room.left(), room.right() - window_->width())));
                corner.setY(std::clamp(corner.y(), room.top(),
                                       std::max(room.top(), room.bottom() - window_->height())));
            }
            window_->move(corner);
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace vantorel::template_composition::ui
