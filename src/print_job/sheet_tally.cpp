#include "print_job/sheet_tally.h"

namespace vantorel::print_job {

namespace ps = print_service;

void SheetTally::add(const SheetResult& sheet)
{
    ++sheets_;
    if (sheet.savingProblem)
        savingProblem_ = sheet.savingProblem;
    switch (sheet.kind) {
    case SheetResult::Kind::Printed:
        printer_ = ps::PrintOutcome::Printer::Normal;
        printerProblem_.clear();
        break;
    case SheetResult::Kind::NoImages:
        ++empty_;
        break;
    case SheetResult::Kind::NotPrinted:
        if (notPrinted_++ == 0)
            firstReason_ = sheet.reason;
        if (sheet.printerFault) {
            printer_ = ps::PrintOutcome::Printer::Failed;
            printerProblem_ = sheet.reason;
        }
        break;
    }
}

ps::PrintOutcome SheetTally::outcome(bool filmSession) const
{
    ps::PrintOutcome outcome;
    outcome.printer = printer_;
    outcome.printerProblem = printerProblem_;
    if (savingProblem_) {
        outcome.filmSaving = savingProblem_->empty() ? ps::PrintOutcome::FilmSaving::Saved
                                                     : ps::PrintOutcome::FilmSaving::Failed;
        outcome.filmSavingProblem = *savingProblem_;
    }
    if (notPrinted_ > 0) {
        outcome.status = ps::print_status::processingFailure;
        outcome.errorComment = sheets_ == 1 ? "Film not printed: " + firstReason_
                                            : std::to_string(notPrinted_) + " of " + std::to_string(sheets_) +
                " films not printed: " + firstReason_;
    } else if (empty_ > 0) {
        outcome.status =
            filmSession ? ps::print_status::filmSessionEmptyPage : ps::print_status::filmBoxEmptyPage;
        outcome.errorComment = sheets_ == 1
            ? std::string("Film box has no image, nothing printed")
            : std::to_string(empty_) + " of " + std::to_string(sheets_) + " film boxes have no image";
    }
    return outcome;
}

}  // namespace vantorel::print_job
