#pragma once

#include <functional>
#include <string>

namespace vantorel::console {

// The print service's listening port as the console sees it: the DICOM
// settings page changes it and the console's retry tries start-up's port
// again (the print service implements it; the console knows nothing of DICOM
// networking).
class PortControl {
public:
    virtual ~PortControl() = default;

    // When the blank-trimmed `typedPort` differs from the port listened on:
    // stores it through `storePort`, makes it the listening port, logs the
    // change and listens on it, telling the operator when that fails. Returns
    // whether it listened anew; an unchanged port does nothing.
    virtual bool changePort(const std::string& typedPort,
                            const std::function<void(const std::string&)>& storePort) = 0;

    // Whether the port of the last change is listened on.
    virtual bool listening() const = 0;

    // Whether start-up's port, which could not be opened, is still to be
    // tried again (until it opens or the operator changes the port).
    virtual bool retrying() const = 0;
    // Tries start-up's port again; true once it is listened on.
    virtual bool retryListening() = 0;
};

}  // namespace vantorel::console
