#pragma once

#include "print_service/print_job_port.h"

#include <optional>
#include <string>

namespace vantorel::print_job {

// What became of one sheet of a film.
struct SheetResult {
    enum class Kind { Printed, NoImages, NotPrinted };

    Kind kind = Kind::Printed;
    std::string reason;                        // NotPrinted: why
    bool printerFault = false;                 // NotPrinted at the printer (not for the film's content)
    std::optional<std::string> savingProblem;  // as FilmResult's

    static SheetResult printed() { return {}; }
    static SheetResult noImages() { return {Kind::NoImages, {}, false, std::nullopt}; }
    static SheetResult refusedByPrinter(std::string why)
    {
        return {Kind::NotPrinted, std::move(why), true, std::nullopt};
    }
    static SheetResult notComposed(std::string why)
    {
        return {Kind::NotPrinted, std::move(why), false, std::nullopt};
    }
};

// Gathers the sheets of one N-ACTION and turns them into its answer: Success
// when every sheet reached its printer; Processing Failure naming the first
// reason when any sheet did not (films that did print are not named); else
// the empty-page warning of a film box or film session when a film held no
// image. The Printer state follows the last sheet that went to a printer.
class SheetTally {
public:
    void add(const SheetResult& sheet);
    print_service::PrintOutcome outcome(bool filmSession) const;

private:
    int sheets_ = 0;
    int notPrinted_ = 0;
    int empty_ = 0;
    std::string firstReason_;
    print_service::PrintOutcome::Printer printer_ = print_service::PrintOutcome::Printer::Unchanged;
    std::string printerProblem_;
    std::optional<std::string> savingProblem_;  // of the last sheet that was to be saved
};

}  // namespace vantorel::print_job
