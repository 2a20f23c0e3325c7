#include "console/ui/pages/console_settings_pages.h"

#include "settings/settings_model.h"
#include "settings/settings_password.h"

#include "console/ui/pages/access_gate.h"
#include "console/ui/pages/appearance_page.h"
#include "console/ui/pages/dicom_page.h"
#include "console/ui/pages/page_layout.h"
#include "console/ui/pages/print_page.h"
#include "console/ui/pages/run_page.h"
#include "console/ui/status_panels.h"

#include <QDateEdit>

namespace vantorel::console::ui {

// The pages are made without a parent; the main window's page stack takes
// them over (and deletes them) when it adds them.
ConsoleSettingsPages::ConsoleSettingsPages(const PageContext& context, const Services& services)
    : dicom_(new DicomPage(context, services.portControl)),
      print_(new PrintPage(
          context,
          {services.headerEditor, services.reportPage, services.desktop, services.templateDesigner})),
      appearance_(new AppearancePage(context, services.skins)),
      run_(new RunPage(context, {services.purgeTimer, services.executablePath, services.applicationTitle})),
      filmManagement_(services.filmManagementPage ? services.filmManagementPage : filmManagementFrame()),
      gate_(std::make_unique<AccessGate>(
          AccessGate::Lock{dicom_->passwordEdit(), dicom_->lockedGroup()},
          AccessGate::Lock{print_->passwordEdit(), print_->lockedGroup()},
          AccessGate::Lock{run_->passwordEdit(), run_->lockedGroup()},
          settings::SettingsPasswordCheck(context.settings.settingsPasswordHash)))
{}

ConsoleSettingsPages::~ConsoleSettingsPages()
{
    // Pages never handed to a window are still ours.
    for (QWidget* page : {static_cast<QWidget*>(dicom_), static_cast<QWidget*>(print_),
                          static_cast<QWidget*>(appearance_), static_cast<QWidget*>(run_), filmManagement_}) {
        if (!page->parent())
            delete page;
    }
}

QWidget* ConsoleSettingsPages::dicomPage()
{
    return dicom_;
}
QWidget* ConsoleSettingsPages::printPage()
{
    return print_;
}
QWidget* ConsoleSettingsPages::appearancePage()
{
    return appearance_;
}
QWidget* ConsoleSettingsPages::runSettingsPage()
{
    return run_;
}

void ConsoleSettingsPages::setHeaderEditorEnabled(bool enabled)
{
    print_->showSettings();
    print_->setHeaderEditorEnabled(enabled);
}

void ConsoleSettingsPages::setSkinFolder(const QString& folder)
{
    appearance_->setSkinFolder(folder);
}

void ConsoleSettingsPages::showLayoutSettings(const settings::Settings&)
{
    dicom_->showSettings();
    print_->showSettings();
}

void ConsoleSettingsPages::setFilmDates(const QDate& date)
{
    for (auto* edit : filmManagement_->findChildren<QDateEdit*>())
        edit->setDate(date);
}

void ConsoleSettingsPages::showAutoRun(bool on)
{
    run_->showAutoRun(on);
    appearance_->showSettings();
}

void ConsoleSettingsPages::showFilmSaving(bool on)
{
    run_->showFilmSaving(on);
}

void ConsoleSettingsPages::showServiceSettings(const settings::Settings&)
{
    dicom_->showSettings();
    print_->showSettings();
}

void ConsoleSettingsPages::showPrinters(const settings::Settings&)
{
    print_->showSettings();
}

void ConsoleSettingsPages::followListenStatus(StatusPanels& panels)
{
    QObject::connect(dicom_, &DicomPage::listenStatusChanged, &panels,
                     [&panels](const QString& port, bool listenedAnew, bool listening) {
                         panels.setListenPort(port);
                         if (listenedAnew)
                             panels.setListeningAfterPortChange(listening);
                     });
}

}  // namespace vantorel::console::ui
