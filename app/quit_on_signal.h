#pragma once

#include <QObject>

#include <initializer_list>

class QSocketNotifier;

namespace vantorel::app {

// Ends the Qt event loop when one of the given signals arrives (SIGTERM from
// a service manager, SIGINT from a terminal). The handler only writes to a
// socket; the loop reads it and quits.
class QuitOnSignal final : public QObject {
public:
    explicit QuitOnSignal(std::initializer_list<int> signalNumbers);
    ~QuitOnSignal() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vantorel::app
