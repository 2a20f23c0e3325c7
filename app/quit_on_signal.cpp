#include "quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vantorel::app {

namespace {

// A signal handler can reach nothing but globals: the write end of this pair.
int signalSocket[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSocket[0], &byte, 1);
}

}  // namespace

QuitOnSignal::QuitOnSignal(std::initializer_list<int> signalNumbers)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0)
        return;
    notifier_ = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        signalled_ = true;
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalSocket[1], &byte, 1);
        // exit() rather than quit(): it also ends a modal dialog's loop
        // during start-up, before the main loop runs.
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : signalNumbers)
        sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    delete notifier_;
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}

}  // namespace vantorel::app
