#pragma once

#include "direct_composition/film_page.h"

#include <cstdint>
#include <string>

namespace vantorel::print_job {

// What the console shows of printing: the film count (status panel), the page
// of every film ended on the direct road (the preview), and whether films
// reach their printer.
class PrintJobObserver {
public:
    virtual ~PrintJobObserver() = default;
    virtual void printCountChanged(std::int32_t count) = 0;
    // Called once for every page ended, whatever printer took or refused it.
    virtual void filmComposed(const direct_composition::FilmPage& page) = 0;
    // A film did not reach its printer (`problem` says why), or, with an empty
    // `problem`, a film printed again after such a failure.
    virtual void printerProblemChanged(const std::string& problem) = 0;
    // A film could not be saved (`problem` says why), or, with an empty
    // `problem`, a film was saved again after such a failure.
    virtual void filmSavingProblemChanged(const std::string& /*problem*/) {}
};

}  // namespace vantorel::print_job
