#pragma once

#include "base/clock.h"
#include "base/fwd.h"
#include "console/ui/navigation.h"
#include "console/ui/pages/settings_pages.h"

#include <QImage>
#include <QMainWindow>
#include <QPixmap>

#include <map>
#include <memory>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QStackedWidget;

namespace vantorel::console::ui {

class AboutPage;
class FilmPreviewPage;
class RunLogPage;
class StatusPanels;

// The console: a navigation list beside the pages (one visible at a time),
// the logo and fixed texts above and below the list, and the status bar.
// Start-up fills it; closing it ends the program.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // `pages` holds the settings pages (not null); the window takes their
    // widgets into its page stack.
    MainWindow(const QString& homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
               std::unique_ptr<SettingsPages> pages);
    ~MainWindow() override;

    void addNavigationEntries(const QStringList& entries);
    QStringList navigationEntries() const;
    // What selecting an entry of the list does: shows the entry's page and,
    // for "运行日志", loads today's log.
    void selectEntry(const QString& entryText);
    void showPage(PageKey page);
    PageKey currentPage() const;

    void setLogo(const QPixmap& logo);
    bool hasLogo() const;

    StatusPanels& statusPanels() { return *status_; }
    const StatusPanels& statusPanels() const { return *status_; }
    AboutPage& aboutPage() { return *about_; }
    FilmPreviewPage& filmPreviewPage() { return *preview_; }
    const FilmPreviewPage& filmPreviewPage() const { return *preview_; }
    RunLogPage& runLogPage() { return *runLog_; }
    SettingsPages& settingsPages() { return *settingsPages_; }

public slots:
    // The page picture of a film just composed; shown on the preview page.
    void showFilm(const QImage& page, const QString& caption);
    void setPrintCount(qint64 count);

signals:
    // The operator closed the window; the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSidebar();
    void addPage(PageKey key, QWidget* page);

    std::unique_ptr<SettingsPages> settingsPages_;
    QListWidget* navigation_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QLabel* logo_ = nullptr;
    StatusPanels* status_ = nullptr;
    AboutPage* about_ = nullptr;
    FilmPreviewPage* preview_ = nullptr;
    RunLogPage* runLog_ = nullptr;
    std::map<PageKey, QWidget*> pages_;
    // The entry that was current when the mouse went down on the list: a
    // click on it selects it again (and reloads the run log).
    QListWidgetItem* currentBeforePress_ = nullptr;
};

}  // namespace vantorel::console::ui
