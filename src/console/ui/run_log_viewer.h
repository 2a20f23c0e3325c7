#pragma once

#include "base/clock.h"
#include "base/fwd.h"

#include <QString>

#include <functional>
#include <optional>

namespace vantorel::console::ui {

// What the run log page does, without its widgets: shows today's log file and
// copies the file last shown to a name the operator chooses.
class RunLogViewer {
public:
    // Asks the operator for a file name; nullopt when the dialog is cancelled
    // or cannot be shown.
    using AskFileName = std::function<std::optional<QString>()>;

    RunLogViewer(QString homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
                 AskFileName askFileName);

    // "刷新" and selecting the page: loads today's file. When it is missing the
    // operator is told so and the page keeps what it showed before.
    void showLog();

    // "另存": copies the shown file to the chosen name followed by ".log",
    // replacing a file of that name.
    void saveLog();

    QString todaysLogPath() const;  // <home>/LOG/2014-3-5.log for today
    const QString& shownPath() const { return shownPath_; }
    const QString& text() const { return text_; }

    // Called whenever the shown text changes.
    std::function<void()> onChanged;

private:
    void reportMissing(const QString& path) const;

    QString home_;
    const base::Clock& clock_;
    base::OperatorMessages& messages_;
    AskFileName askFileName_;
    QString shownPath_;
    QString text_;
};

}  // namespace vantorel::console::ui
