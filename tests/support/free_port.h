#pragma once

#include <QHostAddress>
#include <QTcpServer>

namespace vantorel::testing {

// A TCP port nobody listens on right now (the kernel's choice of a free one).
inline int freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::Any, 0))
        return 0;
    return probe.serverPort();
}

}  // namespace vantorel::testing
