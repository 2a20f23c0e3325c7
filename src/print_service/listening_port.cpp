#include "print_service/listening_port.h"

#include "base/operator_messages.h"
#include "base/run_log.h"
#include "base/text.h"
#include "print_service/port_opener.h"

#include <cmath>
#include <limits>

namespace vantorel::print_service {

ListeningPort::ListeningPort(PortOpener& opener, std::string& listenPort, base::RunLog& log,
                             base::OperatorMessages& messages)
    : opener_(opener), listenPort_(listenPort), log_(log), messages_(messages)
{}

std::int32_t ListeningPort::portNumber(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 1e12; ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    const double rounded = std::nearbyint(value);
    if (rounded > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(rounded);
}

bool ListeningPort::isTcpPort(const std::string& text)
{
    const std::int32_t port = portNumber(text);
    return port >= 1 && port <= 65535;
}

void ListeningPort::startListening()
{
    listenPort_ = base::trimBlanks(listenPort_);
    portPanel_ = listenPort_;
    log_.write("监听端口=" + listenPort_);
    bool open = false;
    if (!isTcpPort(listenPort_)) {
        // Not a port that is taken: a port that does not exist, and trying
        // again would not help.
        messages_.show("监听端口无效：“" + listenPort_ +
                           "”不是1到65535之间的端口号，无法接收打印请求，请在DICOM设置中更改。",
                       "注意", base::MessageIcon::Warning);
    } else {
        open = opener_.Listen(portNumber(listenPort_));
        if (!open)
            messages_.show("监听端口失败：端口被占用，请更换端口号,否则不能正常打印。", "注意",
                           base::MessageIcon::Information);
    }
    listening_ = open;
    retrying_ = !open && isTcpPort(listenPort_);
    log_.write(std::string("监听端口状态=") + (open ? "True" : "False"));
}

bool ListeningPort::retryListening()
{
    if (!retrying_)
        return listening_;
    listening_ = opener_.Listen(portNumber(listenPort_));
    if (listening_) {
        retrying_ = false;
        log_.write("监听端口状态=True");
    }
    return listening_;
}

bool ListeningPort::changePort(const std::string& typedPort,
                               const std::function<void(const std::string&)>& storePort)
{
    const std::string port = base::trimBlanks(typedPort);
    bool listened = false;
    if (port != listenPort_) {
        retrying_ = false;  // the operator's port replaces start-up's
        storePort(port);
        listenPort_ = port;
        log_.write("监听端口改变为： " + typedPort);
        listened = true;
        listening_ = opener_.Listen(portNumber(port));
        if (listening_) {
            log_.write("监听端口状态=True");
        } else {
            messages_.show("端口打开失败，无法接收打印请求，请核对。", "设置失败",
                           base::MessageIcon::Warning);
        }
    }
    portPanel_ = port;
    return listened;
}

}  // namespace vantorel::print_service
