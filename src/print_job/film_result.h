#pragma once

#include <string>
#include <utility>

namespace vantorel::print_job {

// How one film fared at the printer: handed over, or not and why. The reason
// is the system's or the printer's own words, for the run log and for the
// Error Comment of the N-ACTION's answer.
struct FilmResult {
    bool printed = true;
    std::string reason;

    static FilmResult handedOver() { return {}; }
    static FilmResult failed(std::string why) { return {false, std::move(why)}; }
};

}  // namespace vantorel::print_job
