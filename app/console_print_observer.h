#pragma once

#include "print_job/print_job_observer.h"

#include <QImage>
#include <QObject>
#include <QString>

namespace vantorel::app {

// What printing shows in the console, as signals: the film count for the
// status bar, the page of every film ended for the preview page, and whether
// films reach their printer. Built before the print job (which reports to it)
// and before the window (which is connected to it), so neither waits for the
// other.
class ConsolePrintObserver final : public QObject, public print_job::PrintJobObserver {
    Q_OBJECT

public:
    void printCountChanged(std::int32_t count) override;
    void filmComposed(const direct_composition::FilmPage& page) override;
    void printerProblemChanged(const std::string& problem) override;
    void filmSavingProblemChanged(const std::string& problem) override;
    // Archive rows not yet in the database; callable from any thread.
    void archiveWaitingChanged(std::size_t waiting);

signals:
    void countShown(qint64 count);
    void filmShown(const QImage& page, const QString& caption);
    void printerProblemShown(const QString& problem);
    void filmSavingProblemShown(const QString& problem);
    void archiveWaitingShown(qint64 waiting);
    // After each of the above, e.g. to refresh a report of the console.
    void changed();
};

}  // namespace vantorel::app
