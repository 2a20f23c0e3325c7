#pragma once

#include <string>

namespace vantorel::print_service {

// Where an N-ACTION goes: the print job driver implements this. It is called
// on the main thread while the N-ACTION waits for its answer; the response is
// sent only when DoPrint returns, so DoPrint returns once the films are handed
// to the printer. Implementations reach the objects through the
// PrintObjectStore (and, for the log lines, the service-wide FilmParameters)
// they were built with: `ruid` names a film box or a film session, `Rip` is
// the remote IP address of the association that sent the N-ACTION.
class PrintJobPort {
public:
    virtual ~PrintJobPort() = default;
    virtual void DoPrint(const std::string& ruid, const std::string& Rip) = 0;
};

}  // namespace vantorel::print_service
