#pragma once

#include "base/fwd.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantorel::print_service {

class PortOpener;

// The service's listening port: start-up listening, the retry of a port that
// was taken, and the port change of the DICOM settings page. Of the settings
// it takes only the listen port (ServiceSettings::listenPort), the one it
// changes itself: start-up trims it, a port change replaces it (the stored key
// is written by the caller's `storePort`).
class ListeningPort {
public:
    ListeningPort(PortOpener& opener, std::string& listenPort, base::RunLog& log,
                  base::OperatorMessages& messages);

    // At start-up: logs "监听端口=", listens on `listenPort`, reports a port
    // that is not a TCP port or cannot be opened to the operator and logs
    // "监听端口状态=True|False". A TCP port that cannot be opened (taken by
    // another program, say) is then retried by retryListening.
    void startListening();

    // Whether start-up's port is still to be tried again: it could not be
    // opened, and the operator has not changed the port since.
    bool retrying() const { return retrying_; }

    // Tries start-up's port again while retrying(); true once it listens
    // (logged as "监听端口状态=True").
    [[nodiscard]] bool retryListening();

    // Saving the DICOM page: when the trimmed `typedPort` differs from
    // `listenPort`, stores it through `storePort`, makes it `listenPort` and
    // listens on it. Returns whether Listen was called.
    [[nodiscard]] bool changePort(const std::string& typedPort,
                                  const std::function<void(const std::string&)>& storePort);

    // Whether the last start-up or port change opened its port.
    bool listening() const { return listening_; }
    const std::string& portPanel() const { return portPanel_; }  // status bar, fourth panel

    // The leading decimal number of a port text (blanks skipped, none gives 0),
    // rounded half to even to 32 bits; 0 when out of that range.
    static std::int32_t portNumber(const std::string& text);

    // Whether a port text names a TCP port, 1 to 65535.
    static bool isTcpPort(const std::string& text);

private:
    PortOpener& opener_;
    std::string& listenPort_;
    base::RunLog& log_;
    base::OperatorMessages& messages_;
    bool listening_ = false;
    bool retrying_ = false;
    std::string portPanel_;
};

}  // namespace vantorel::print_service
