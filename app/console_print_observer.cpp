#include "console_print_observer.h"

#include "console/ui/main_window.h"
#include "console/ui/status_panels.h"
#include "direct_composition/qt/film_page_painter.h"

#include <QDateTime>

namespace vantorel::app {

namespace {
// Wide enough for a sharp preview on a large screen, small enough to render
// in a few milliseconds while the N-ACTION waits for its answer.
constexpr int previewWidthPixels = 1000;
}  // namespace

void ConsolePrintObserver::printCountChanged(std::int32_t count)
{
    window_.setPrintCount(count);
    if (onChanged)
        onChanged();
}

void ConsolePrintObserver::filmComposed(const direct_composition::FilmPage& page)
{
    const QImage picture = direct_composition::renderFilmPreview(page, previewWidthPixels);
    const QString caption = QString::fromStdString(page.printer) + QStringLiteral("  ") +
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    window_.showFilm(picture, caption);
    if (onChanged)
        onChanged();
}

void ConsolePrintObserver::printerProblemChanged(const std::string& problem)
{
    window_.statusPanels().setPrinterProblem(QString::fromStdString(problem));
    if (onChanged)
        onChanged();
}

}  // namespace vantorel::app
