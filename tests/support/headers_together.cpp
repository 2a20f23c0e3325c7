// Every support header in one translation unit: the build fails as soon as two
// of them cannot be included together.

#include "support/cups_test_queue.h"
#include "support/dicom_image_files.h"
#include "support/echo_probe.h"
#include "support/free_port.h"
#include "support/logging_print_job.h"
#include "support/memory_run_log.h"
#include "support/other_thread.h"
#include "support/pdf_pages.h"
#include "support/program_runner.h"
#include "support/recording_surface.h"
#include "support/wait_for.h"

#include "e2e/console_program.h"
#include "e2e/print_server.h"
#include "e2e/print_service_runner.h"
#include "e2e/raw_association.h"
#include "e2e/x_session.h"
