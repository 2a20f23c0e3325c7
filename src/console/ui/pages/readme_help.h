#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace vantorel::console::ui {

// The README this program was built with, as Markdown (built into the
// program, so it always matches the running version).
QString builtInReadme();

// The README rendered to HTML (QTextDocument's Markdown reader), written to
// `htmlPath` so that it can also be opened elsewhere; false when the file
// cannot be written.
[[nodiscard]] bool writeReadmeHtml(const QString& markdown, const QString& htmlPath);

// The help window that the print page's "?" opens when the home folder has
// no help.mht: the README, rendered, in a browser inside the program (no
// desktop opener needed), read from `htmlPath` or, when that file could not
// be written, from the Markdown itself. Not modal; deleted when closed.
QDialog* showReadmeHelp(QWidget* parent, const QString& markdown, const QString& htmlPath);

}  // namespace vantorel::console::ui
