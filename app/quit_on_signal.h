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

    // True once a signal has been handled. A signal that arrives while a
    // modal dialog runs its own loop ends that loop only; the program checks
    // this before it enters the main loop.
    bool signalled() const { return signalled_; }

private:
    QSocketNotifier* notifier_ = nullptr;
    bool signalled_ = false;
};

}  // namespace vantorel::app
