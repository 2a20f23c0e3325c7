#include "print_job/template_road.h"

#include "console/run_log.h"

namespace vantorel::print_job {

void NoTemplateComposition::composeFilm(const TemplateFilm& film)
{
    log_.write("film box " + film.ruid + " not composed: no film template composition available");
}

FilmResult NoTemplateComposition::PrintReport()
{
    return FilmResult::failed("no film template composition available");
}

}  // namespace vantorel::print_job
