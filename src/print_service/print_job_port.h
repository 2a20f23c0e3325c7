#pragma once

#include <cstdint>
#include <string>

namespace vantorel::print_service {

// DIMSE statuses an N-ACTION may be answered with.
namespace print_status {
inline constexpr std::uint16_t success = 0x0000;
inline constexpr std::uint16_t processingFailure = 0x0110;
inline constexpr std::uint16_t noSuchObjectInstance = 0x0112;
// Refusals of the request itself: an attribute value the service cannot
// use, an instance UID that is taken, an operation the SOP class lacks.
inline constexpr std::uint16_t invalidAttributeValue = 0x0106;
inline constexpr std::uint16_t duplicateSopInstance = 0x0111;
inline constexpr std::uint16_t unrecognizedOperation = 0x0211;
// Warnings: the film session's (or film box's) films held no image (empty page).
inline constexpr std::uint16_t filmSessionEmptyPage = 0xB602;
inline constexpr std::uint16_t filmBoxEmptyPage = 0xB603;
// Failure: the film session holds no film box.
inline constexpr std::uint16_t filmSessionWithoutFilmBox = 0xC600;
}  // namespace print_status

// What became of the films one N-ACTION asked for: the status and Error
// Comment (0000,0902) of its answer, and how the printing side stands after
// the last film that went to a printer (for the Printer object's status).
struct PrintOutcome {
    enum class Printer { Unchanged, Normal, Failed };

    std::uint16_t status = print_status::success;
    std::string errorComment;  // empty with Success
    Printer printer = Printer::Unchanged;
    std::string printerProblem;  // Printer::Failed: why the last film did not print
    // Film saving (TIFF export and archive) of the last film that was to be
    // saved: whether it was saved, and why not when it was not.
    enum class FilmSaving { Unchanged, Saved, Failed };
    FilmSaving filmSaving = FilmSaving::Unchanged;
    std::string filmSavingProblem;
};

// Where an N-ACTION goes: the print job driver implements this. It is called
// on the main thread while the N-ACTION waits for its answer; the response is
// sent only when DoPrint returns, so DoPrint returns once the films are handed
// to the printer, and says how that went. Implementations reach the objects
// through the PrintObjectStore (and, for the log lines, the service-wide
// FilmParameters) they were built with: `ruid` names a film box or a film
// session, `Rip` is the remote IP address of the association that sent the
// N-ACTION.
class PrintJobPort {
public:
    virtual ~PrintJobPort() = default;
    virtual PrintOutcome DoPrint(const std::string& ruid, const std::string& Rip) = 0;
};

}  // namespace vantorel::print_service
