#pragma once

#include "base/fwd.h"
#include "print_service/associations.h"
#include "print_service/dcmtk/association_server.h"
#include "print_service/dcmtk/main_thread_dispatcher.h"
#include "print_service/listening_port.h"
#include "print_service/request_handler.h"
#include "settings/fwd.h"

namespace vantorel::print_service {

class PrintJobPort;
class PrintObjectStore;
struct FilmParameters;

// The print service as the program runs it: the request handler and the
// association bookkeeping on the main thread, the DCMTK server on its network
// threads, the dispatcher between them. Built on the main thread, after the
// Qt application object.
class PrintServiceRuntime {
public:
    // The request handler reads `service` and `composition`; the listening
    // port keeps `listenPort` (ServiceSettings::listenPort, which it changes).
    PrintServiceRuntime(PrintObjectStore& store, FilmParameters& film,
                        const settings::ServiceSettings& service,
                        const settings::CompositionSettings& composition, std::string& listenPort,
                        PrintJobPort& printJob, base::RunLog& log, base::OperatorMessages& messages,
                        ServerLimits limits = {});
    ~PrintServiceRuntime();

    // Closes the hand-over and stops every network thread; open associations
    // are aborted. Called when the event loop has ended.
    void stop();

    // Start-up listens through it (app/service_startup.cpp), and the DICOM
    // page's port changes go to it.
    ListeningPort& listeningPort() { return listeningPort_; }

private:
    RequestHandler handler_;
    Associations associations_;
    MainThreadDispatcher dispatcher_;
    AssociationServer server_;
    ListeningPort listeningPort_;
};

// Limits with overrides from the environment, for installers and tests:
// VANTOREL_MAX_ASSOCIATIONS, VANTOREL_MAX_PENDING, VANTOREL_IDLE_TIMEOUT,
// VANTOREL_ACSE_TIMEOUT and VANTOREL_DIMSE_TIMEOUT (seconds),
// VANTOREL_MAX_DATASET_BYTES, VANTOREL_MAX_OBJECTS, VANTOREL_MAX_PIXEL_BYTES.
ServerLimits limitsFromEnvironment();

}  // namespace vantorel::print_service
