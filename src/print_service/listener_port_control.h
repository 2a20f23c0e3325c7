#pragma once

#include "console/listener_control.h"
#include "print_service/listener.h"

namespace vantorel::print_service {

// The DICOM settings page's port change, carried out by the service's Listener.
class ListenerPortControl final : public console::ListenerControl {
public:
    explicit ListenerPortControl(Listener& listener) : listener_(listener) {}

    bool changePort(const std::string& typedPort,
                    const std::function<void(const std::string&)>& storePort) override
    {
        return listener_.changePort(typedPort, storePort);
    }
    std::string listenState() const override { return listener_.listenState(); }

private:
    Listener& listener_;
};

}  // namespace vantorel::print_service
