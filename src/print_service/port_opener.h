#pragma once

#include <cstdint>

namespace vantorel::print_service {

// Opens a TCP port for DICOM associations (the DICOM adapter implements it).
// A new port replaces the previous one only once it is open.
class PortOpener {
public:
    virtual ~PortOpener() = default;
    [[nodiscard]] virtual bool Listen(std::int32_t port) = 0;
};

}  // namespace vantorel::print_service
