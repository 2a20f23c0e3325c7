#pragma once

#include "base/fwd.h"
#include "console/ui/pages/page_services.h"
#include "settings/fwd.h"

#include <QPointer>

namespace vantorel::hospital_name::ui {

class Frmhname;

// Opens the hospital-name editor for the print page's button: one window at a
// time, owned by the main window and not modal; opening it again while it is
// up raises it. A closed window is gone, and the next open loads afresh.
class HeaderEditorWindow final : public console::ui::HeaderEditorOpener {
public:
    HeaderEditorWindow(settings::SettingsStore& store, settings::HeaderSettings& header, base::RunLog& log);

    void open(QWidget* owner) override;
    Frmhname* window() const;  // the open window, or nullptr

private:
    settings::SettingsStore& store_;
    settings::HeaderSettings& header_;
    base::RunLog& log_;
    QPointer<Frmhname> window_;
};

}  // namespace vantorel::hospital_name::ui
