#pragma once

#include <QString>

namespace vantorel::console::ui {

// The machine's IPv4 address as the status bar shows it: the first address of
// an interface that is up and not loopback, else "127.0.0.1".
QString localIpAddress();

}  // namespace vantorel::console::ui
