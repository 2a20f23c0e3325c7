#pragma once

#include "direct_composition/film_page.h"

#include <cstdint>

namespace vantorel::print_job {

// What the console shows of printing: the film count (status panel) and the
// page of the film just composed on the direct road (the preview).
class PrintJobObserver {
public:
    virtual ~PrintJobObserver() = default;
    virtual void printCountChanged(std::int32_t count) = 0;
    virtual void filmComposed(const direct_composition::FilmPage& page) = 0;
};

}  // namespace vantorel::print_job
