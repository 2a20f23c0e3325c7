#pragma once

#include "base/fwd.h"

#include <QObject>
#include <QString>

class QTimer;

namespace vantorel::console {
class PortControl;
}  // namespace vantorel::console

namespace vantorel::console::ui {

class StatusPanels;

// With the window, a DICOM port that start-up could not open (another program
// holds it) is tried again every ten seconds, and the status bar says so,
// until it opens or the operator changes the port on the DICOM page. A
// headless service exits instead and leaves the retrying to its service
// manager.
class ListenRetry final : public QObject {
    Q_OBJECT
public:
    static constexpr int intervalMs = 10000;

    ListenRetry(PortControl& portControl, StatusPanels& panels, base::RunLog& log, const QString& port,
                QObject* parent = nullptr);

    // Starts retrying when start-up's port is waiting for it; otherwise
    // does nothing.
    void start();
    // One attempt, as the timer makes it.
    void tick();
    bool active() const;

private:
    PortControl& portControl_;
    StatusPanels& panels_;
    base::RunLog& log_;
    QString port_;
    QTimer* timer_ = nullptr;
};

}  // namespace vantorel::console::ui
