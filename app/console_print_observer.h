#pragma once

#include "print_job/print_job_observer.h"

#include <functional>

namespace vantorel::console::ui {
class MainWindow;
}

namespace vantorel::app {

// Shows printing in the console: the film count in the status bar, the page
// of every film ended on the preview page, and in the status bar whether
// films reach their printer.
class ConsolePrintObserver final : public print_job::PrintJobObserver {
public:
    explicit ConsolePrintObserver(console::ui::MainWindow& window) : window_(window) {}

    void printCountChanged(std::int32_t count) override;
    void filmComposed(const direct_composition::FilmPage& page) override;
    void printerProblemChanged(const std::string& problem) override;

    // Called after each change, e.g. to refresh a report of the console.
    std::function<void()> onChanged;

private:
    console::ui::MainWindow& window_;
};

}  // namespace vantorel::app
