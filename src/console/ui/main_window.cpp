#include "console/ui/main_window.h"

#include "console/ui/pages/about_page.h"
#include "console/ui/pages/film_preview_page.h"
#include "console/ui/pages/run_log_page.h"
#include "console/ui/pages/settings_pages.h"
#include "console/ui/status_panels.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <stdexcept>

namespace vantorel::console::ui {

MainWindow::MainWindow(const QString& homeFolder, const base::Clock& clock, base::OperatorMessages& messages,
                       std::unique_ptr<SettingsPages> pages)
{
    setObjectName(QStringLiteral("mainWindow"));
    resize(1024, 720);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSidebar());

    stack_ = new QStackedWidget(central);
    stack_->setObjectName(QStringLiteral("pages"));
    layout->addWidget(stack_, 1);
    setCentralWidget(central);

    if (!pages)
        throw std::invalid_argument("the main window needs its settings pages");
    settingsPages_ = std::move(pages);
    preview_ = new FilmPreviewPage(stack_);
    about_ = new AboutPage(stack_);
    runLog_ = new RunLogPage(homeFolder, clock, messages, stack_);
    addPage(PageKey::FilmPreview, preview_);
    addPage(PageKey::Dicom, settingsPages_->dicomPage());
    addPage(PageKey::Print, settingsPages_->printPage());
    addPage(PageKey::FilmManagement, settingsPages_->filmManagementPage());
    addPage(PageKey::RunLog, runLog_);
    addPage(PageKey::Appearance, settingsPages_->appearancePage());
    addPage(PageKey::RunSettings, settingsPages_->runSettingsPage());
    addPage(PageKey::About, about_);

    status_ = new StatusPanels(*statusBar());

    // Keyboard and mouse change the current entry; a click on the entry that
    // is already current selects it once more.
    connect(navigation_, &QListWidget::currentTextChanged, this, &MainWindow::selectEntry);
    navigation_->viewport()->installEventFilter(this);
    connect(navigation_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item && item == currentBeforePress_)
            selectEntry(item->text());
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == navigation_->viewport() && event->type() == QEvent::MouseButtonPress)
        currentBeforePress_ = navigation_->currentItem();
    return QMainWindow::eventFilter(watched, event);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::buildSidebar()
{
    auto* sidebar = new QWidget(this);
    sidebar->setObjectName(QStringLiteral("sidebar"));
    sidebar->setFixedWidth(190);
    auto* layout = new QVBoxLayout(sidebar);

    logo_ = new QLabel(sidebar);
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setFixedHeight(96);
    layout->addWidget(logo_);

    auto* functions = new QLabel(QStringLiteral("软件功能"), sidebar);
    functions->setObjectName(QStringLiteral("functionsTitle"));
    layout->addWidget(functions);

    navigation_ = new QListWidget(sidebar);
    navigation_->setObjectName(QStringLiteral("navigation"));
    layout->addWidget(navigation_, 1);

    auto* version = new QLabel(QStringLiteral("Ver5.2.X"), sidebar);
    version->setObjectName(QStringLiteral("versionText"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    return sidebar;
}

void MainWindow::addPage(PageKey key, QWidget* page)
{
    pages_[key] = page;
    stack_->addWidget(page);
}

void MainWindow::addNavigationEntries(const QStringList& entries)
{
    const QSignalBlocker quiet(navigation_);
    navigation_->addItems(entries);
}

QStringList MainWindow::navigationEntries() const
{
    QStringList texts;
    for (int i = 0; i < navigation_->count(); ++i)
        texts << navigation_->item(i)->text();
    return texts;
}

void MainWindow::selectEntry(const QString& entryText)
{
    const PageKey page = pageForEntry(entryText);
    showPage(page);
    if (page == PageKey::RunLog)
        runLog_->viewer().showLog();
}

void MainWindow::showPage(PageKey page)
{
    stack_->setCurrentWidget(pages_.at(page));
}

PageKey MainWindow::currentPage() const
{
    for (const auto& [key, widget] : pages_) {
        if (widget == stack_->currentWidget())
            return key;
    }
    return PageKey::About;
}

void MainWindow::setLogo(const QPixmap& logo)
{
    logo_->setPixmap(logo.scaled(QSize(170, 96), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool MainWindow::hasLogo() const
{
    return !logo_->pixmap().isNull();
}

void MainWindow::showFilm(const QImage& page, const QString& caption)
{
    preview_->showFilm(page, caption);
}

void MainWindow::setPrintCount(qint64 count)
{
    status_->setPrintCount(count);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

}  // namespace vantorel::console::ui
