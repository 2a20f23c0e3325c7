#pragma once

#include "settings/settings_model.h"

namespace vantorel::console::ui {

// The page of the report engine that template composition prints on, as
// start-up sets it: a film about 14 inches wide and 17 high, no margins
// (twips).
struct ReportPageSetup {
    float paperWidth = 20125.0f;
    float paperHeight = 24478.7f;
    float marginLeft = 0.0f;
    float marginTop = 0.0f;
    float marginRight = 0.0f;
    float marginBottom = 0.0f;
};

// What start-up asks of the print service and of film composition, in the
// order of its steps. Any of these may throw; start-up then skips that step.
class StartupServices {
public:
    virtual ~StartupServices() = default;

    // The report viewer's toolbar tools 1 and 2.
    virtual void switchOffViewerTools() = 0;
    virtual void setReportPage(const ReportPageSetup& page) = 0;
    // Starts the print service listening on `listenPort`, with its run log
    // lines and the operator's message when the port cannot be used; true
    // when listening.
    [[nodiscard]] virtual bool startListening() = 0;
    virtual void createPrintObjectStore() = 0;
    virtual void buildPrinterObject(const settings::ServiceSettings& settings) = 0;
    virtual void buildFilmLut() = 0;
};

}  // namespace vantorel::console::ui
