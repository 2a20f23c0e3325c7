#pragma once

#include "console/ui/pages/page_services.h"

#include <QPointer>
#include <QString>

namespace vantorel::template_composition::ui {

class FilmTemplateDesigner;

// Opens the film template designer for the print page's button: one window
// at a time over the main window, not modal; opening it again raises it. A
// closed window is gone, and the next one starts afresh.
class TemplateDesignerWindow final : public console::ui::TemplateDesignerOpener {
public:
    explicit TemplateDesignerWindow(QString homeFolder);
    ~TemplateDesignerWindow() override;

    void open(QWidget* owner) override;
    FilmTemplateDesigner* window() const;  // the open window, or nullptr

private:
    QString homeFolder_;
    QPointer<FilmTemplateDesigner> window_;
};

}  // namespace vantorel::template_composition::ui
