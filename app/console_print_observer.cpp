#include "console_print_observer.h"

#include "direct_composition/qt/film_page_painter.h"

#include <QDateTime>

namespace vantorel::app {

namespace {
// Wide enough for a sharp preview on a large screen, small enough to render
// in a few milliseconds between two requests.
constexpr int previewWidthPixels = 1000;
}  // namespace

void ConsolePrintObserver::printCountChanged(std::int32_t count)
{
    emit countShown(count);
    emit changed();
}

void ConsolePrintObserver::filmComposed(const direct_composition::FilmPage& page)
{
    const QString caption = QString::fromStdString(page.printer) + QStringLiteral("  ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    // Drawn on this thread as soon as the film's request has been answered:
    // the modality need not wait for the operator's preview. The page's
    // pictures are shared, so the copy is cheap.
    QMetaObject::invokeMethod(
        this,
        [this, page, caption] {
            const QImage picture = direct_composition::renderFilmPreview(page, previewWidthPixels);
            emit filmShown(picture, caption);
            emit changed();
        },
        Qt::QueuedConnection);
}

void ConsolePrintObserver::archiveWaitingChanged(std::size_t waiting)
{
    QMetaObject::invokeMethod(
        this,
        [this, waiting] {
            emit archiveWaitingShown(static_cast<qint64>(waiting));
            emit changed();
        },
        Qt::QueuedConnection);
}

void ConsolePrintObserver::filmSavingProblemChanged(const std::string& problem)
{
    emit filmSavingProblemShown(QString::fromStdString(problem));
    emit changed();
}

void ConsolePrintObserver::printerProblemChanged(const std::string& problem)
{
    emit printerProblemShown(QString::fromStdString(problem));
    emit changed();
}

}  // namespace vantorel::app
