#include "console/ui/console_report.h"

#include "console/ui/main_window.h"
#include "console/ui/pages/film_preview_page.h"
#include "console/ui/status_panels.h"

#include <QSaveFile>

namespace vantorel::console::ui {

namespace {

QString pageName(PageKey page)
{
    switch (page) {
    case PageKey::FilmPreview:
        return entries::filmPreview;
    case PageKey::Dicom:
        return entries::dicom;
    case PageKey::Print:
        return entries::print;
    case PageKey::FilmManagement:
        return entries::filmManagement;
    case PageKey::RunLog:
        return entries::runLog;
    case PageKey::Appearance:
        return entries::appearance;
    case PageKey::RunSettings:
        return entries::runSettings;
    case PageKey::About:
        break;
    }
    return entries::about;
}

}  // namespace

QStringList describeConsole(const MainWindow& window)
{
    QStringList lines;
    lines << QStringLiteral("title=") + window.windowTitle();
    lines << QStringLiteral("visible=") + (window.isVisible() ? "1" : "0");
    lines << QStringLiteral("entries=") + window.navigationEntries().join('|');
    lines << QStringLiteral("page=") + pageName(window.currentPage());
    for (int panel = 1; panel <= StatusPanels::panelCount; ++panel)
        lines << QStringLiteral("panel%1=").arg(panel) + window.statusPanels().text(panel);
    lines << QStringLiteral("printerProblem=") + window.statusPanels().printerProblemText();
    lines << QStringLiteral("listenProblem=") + window.statusPanels().listenProblemText();
    lines << QStringLiteral("archiveWaiting=") + window.statusPanels().archiveWaitingText();
    lines << QStringLiteral("filmSavingProblem=") + window.statusPanels().filmSavingProblemText();
    lines << QStringLiteral("logo=") + (window.hasLogo() ? "1" : "0");
    const QImage& film = window.filmPreviewPage().lastFilm();
    lines << QStringLiteral("film=%1x%2").arg(film.width()).arg(film.height());
    return lines;
}

bool writeConsoleReport(const MainWindow& window, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((describeConsole(window).join('\n') + '\n').toUtf8());
    return file.commit();
}

}  // namespace vantorel::console::ui
