#pragma once

#include "base/run_log.h"
#include "print_job/film_result.h"
#include "print_job/template_road.h"

namespace vantorel::print_job::testing {

// Stands in where no template road is plugged in: the film is noted in the run
// log as not composed (the driver still counts it).
class NoTemplateComposition final : public TemplateComposition {
public:
    explicit NoTemplateComposition(base::RunLog& log) : log_(log) {}
    void composeFilm(const TemplateFilm& film) override
    {
        log_.write("film box " + film.ruid + " not composed: no film template composition available");
    }
    FilmResult PrintReport() override { return FilmResult::failed("no film template composition available"); }

private:
    base::RunLog& log_;
};

}  // namespace vantorel::print_job::testing
