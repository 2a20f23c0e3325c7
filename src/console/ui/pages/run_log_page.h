#pragma once

#include "console/ui/run_log_viewer.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vantorel::console::ui {

// The run log page ("运行日志"): today's log file with "刷新" and "另存".
class RunLogPage final : public QWidget {
    Q_OBJECT
public:
    RunLogPage(const QString& homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
               QWidget* parent = nullptr);

    RunLogViewer& viewer() { return viewer_; }
    QString shownText() const;

    // For tests and automation: the file-name question of "另存".
    void setFileNameQuestion(RunLogViewer::AskFileName ask);

private:
    std::optional<QString> askFileName();
    void refreshView();

    RunLogViewer viewer_;
    RunLogViewer::AskFileName ask_;
    QLabel* path_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace vantorel::console::ui
