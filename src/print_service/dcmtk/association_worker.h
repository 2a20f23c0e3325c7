#pragma once

#include "print_service/dcmtk/association_server.h"
#include "print_service/normalised_request.h"

#include <atomic>
#include <functional>
#include <string>

struct T_ASC_Association;
struct T_ASC_Parameters;
struct T_DIMSE_Message;

namespace vantorel::print_service {

// Whether an AE title is blank: empty, or spaces and NULs only.
bool isBlankAeTitle(const std::string& title);

// Accepts, in an association request, every presentation context the service
// serves (with its preferred transfer syntax) and says whether any was.
[[nodiscard]] bool acceptServedContexts(T_ASC_Parameters* params);

// Serves one association, whose request has been read and whose served
// presentation contexts have been accepted (acceptServedContexts), from its
// acceptance (or rejection) to its release or abort, on the thread of its
// connection.
class AssociationWorker {
public:
    AssociationWorker(T_ASC_Association* association, std::uint64_t id, MainThreadDispatcher& dispatcher,
                      ServiceEvents& events, const ServerLimits& limits, const std::atomic<bool>& stopping);
    ~AssociationWorker();

    void run();

private:
    [[nodiscard]] bool negotiate();
    // `reason`: a T_ASC_RejectParametersReason of the service user (no
    // reason given, or the title that is not recognised).
    void reject(int result, const std::string& why, int reason = 0x0101);
    void serve();
    void abort();
    // Logs "<name>: <why>, association aborted", aborts, and returns false.
    bool abandon(const std::string& why);
    [[nodiscard]] bool serveCommand(T_DIMSE_Message& message, unsigned char context);
    [[nodiscard]] bool answer(NormalisedRequest& request, unsigned char presentationContext);
    [[nodiscard]] bool receiveDataSet(NormalisedRequest& request);
    void log(const std::string& line);
    void logNow(const std::string& line);
    std::string name() const;

    T_ASC_Association* association_;
    MainThreadDispatcher& dispatcher_;
    ServiceEvents& events_;
    const ServerLimits& limits_;
    const std::atomic<bool>& stopping_;
    AssociationInfo info_;
    bool requested_ = false;  // the main thread knows this association
    bool aborted_ = false;
};

}  // namespace vantorel::print_service
