#include "settings_page_services.h"

#include "archive/sql/odbc_film_listing.h"
#include "archive/ui/film_archive_page.h"
#include "print_service/listening_port.h"
#include "settings/settings_model.h"

#include <QGuiApplication>

namespace vantorel::app {

SettingsPageServices::SettingsPageServices(const base::Clock& clock, base::RunLog& runLog,
                                           print_service::ListeningPort& listeningPort,
                                           console::ui::StartupServices& startup,
                                           archive::FilmReprint& reprint)
    : listeningPort_(listeningPort),
      startup_(startup),
      runLog_(runLog),
      reprint_(reprint),
      purge_(clock, runLog)
{}

SettingsPageServices::~SettingsPageServices() = default;

std::unique_ptr<console::ui::ConsoleSettingsPages>
SettingsPageServices::makePages(const console::ui::PageContext& context)
{
    headerEditor_ = std::make_unique<hospital_name::ui::HeaderEditorWindow>(context.store,
                                                                            context.settings.header, runLog_);
    templateDesigner_ =
        std::make_unique<template_composition::ui::TemplateDesignerWindow>(context.homeFolder);
    // Each purge tick takes the export folder as start-up read it.
    const settings::Settings& settings = context.settings;
    purgeTimer_.onTick = [this, &settings] { purge_.tick(settings.exportFolder); };
    filmListing_ = std::make_unique<archive::OdbcFilmListing>(settings);
    auto* filmPage =
        new archive::FilmArchivePage({*filmListing_, context.messages, desktop_, runLog_, &reprint_});

    const console::ui::ConsoleSettingsPages::Services services{*this,
                                                               *headerEditor_,
                                                               purgeTimer_,
                                                               skins_,
                                                               *this,
                                                               desktop_,
                                                               *templateDesigner_,
                                                               QCoreApplication::applicationFilePath(),
                                                               QGuiApplication::applicationDisplayName(),
                                                               filmPage};
    return std::make_unique<console::ui::ConsoleSettingsPages>(context, services);
}

bool SettingsPageServices::changePort(const std::string& typedPort,
                                      const std::function<void(const std::string&)>& storePort)
{
    return listeningPort_.changePort(typedPort, storePort);
}

bool SettingsPageServices::listening() const
{
    return listeningPort_.listening();
}

bool SettingsPageServices::retrying() const
{
    return listeningPort_.retrying();
}

bool SettingsPageServices::retryListening()
{
    return listeningPort_.retryListening();
}

void SettingsPageServices::setReportPage(const console::ui::ReportPageSetup& page)
{
    startup_.setReportPage(page);
}

}  // namespace vantorel::app
