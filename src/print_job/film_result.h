#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vantorel::print_job {

// How one film fared at the printer: handed over, or not and why. The reason
// is the system's or the printer's own words, for the run log and for the
// Error Comment of the N-ACTION's answer.
struct FilmResult {
    bool printed = true;
    std::string reason;
    bool atPrinter = true;  // false: the film was not composed (no usable template), no printer saw it
    std::string printer;    // the printer it went (or was to go) to
    // Film saving: nothing when the film was not to be saved; empty when it
    // was saved; otherwise why it was not.
    std::optional<std::string> savingProblem;

    static FilmResult handedOver(std::string printer = {})
    {
        return {true, {}, true, std::move(printer), std::nullopt};
    }
    static FilmResult failed(std::string why, std::string printer = {})
    {
        return {false, std::move(why), true, std::move(printer), std::nullopt};
    }
    static FilmResult notComposed(std::string why)
    {
        return {false, std::move(why), false, {}, std::nullopt};
    }
};

}  // namespace vantorel::print_job
