#include "hospital_name/ui/header_editor_window.h"

#include "hospital_name/ui/frmhname.h"

namespace vantorel::hospital_name::ui {

HeaderEditorWindow::HeaderEditorWindow(settings::SettingsStore& store, settings::HeaderSettings& header,
                                       base::RunLog& log)
    : store_(store), header_(header), log_(log)
{}

Frmhname* HeaderEditorWindow::window() const
{
    return window_.data();
}

void HeaderEditorWindow::open(QWidget* owner)
{
    if (!window_) {
        window_ = new Frmhname(owner, store_, header_, log_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->adjustSize();
        if (owner)  // first shown over the middle of the main window
            window_->move(owner->frameGeometry().center() - window_->rect().center());
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace vantorel::hospital_name::ui
