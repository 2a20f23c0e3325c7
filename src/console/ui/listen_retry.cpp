#include "console/ui/listen_retry.h"

#include "base/run_log.h"
#include "console/port_control.h"
#include "console/ui/status_panels.h"

#include <QTimer>

namespace vantorel::console::ui {

ListenRetry::ListenRetry(PortControl& portControl, StatusPanels& panels, base::RunLog& log,
                         const QString& port, QObject* parent)
    : QObject(parent),
      portControl_(portControl),
      panels_(panels),
      log_(log),
      port_(port),
      timer_(new QTimer(this))
{
    timer_->setInterval(intervalMs);
    connect(timer_, &QTimer::timeout, this, &ListenRetry::tick);
}

void ListenRetry::start()
{
    if (!portControl_.retrying())
        return;
    const QString problem =
        QStringLiteral("监听端口%1无法打开，每%2秒重试一次").arg(port_).arg(intervalMs / 1000);
    panels_.setListenProblem(problem);
    log_.write(problem.toStdString() + "。");
    timer_->start();
}

void ListenRetry::tick()
{
    if (!portControl_.retrying()) {
        // The operator changed the port: the DICOM page reports that one.
        timer_->stop();
        panels_.setListenProblem({});
        return;
    }
    if (!portControl_.retryListening())
        return;
    timer_->stop();
    panels_.setListenProblem({});
    panels_.setListening(true);
}

bool ListenRetry::active() const
{
    return timer_->isActive();
}

}  // namespace vantorel::console::ui
