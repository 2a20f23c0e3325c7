#pragma once

// A fresh home folder with the settings pages built over it, as start-up
// builds and fills them.

#include "base/gbk.h"
#include "console/ui/pages/access_gate.h"
#include "console/ui/pages/console_settings_pages.h"
#include "console/ui/pages/print_page.h"
#include "page_fakes.h"
#include "settings/settings_loader.h"
#include "settings/settings_store.h"
#include "ui_fakes.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantorel::testing {

// The GBK bytes of UTF-8 text.
inline QByteArray gbkBytes(const std::string& utf8)
{
    return QByteArray::fromStdString(base::utf8ToGbk(utf8));
}

class PagesTest : public ::testing::Test {
protected:
    // Loads the settings of the home folder and builds the pages over them.
    void start(std::vector<std::string> installed = {"Laser A", "Laser B", "FilmFile"})
    {
        installedPrinters = std::move(installed);
        settings = settings::loadSettings(store, installedPrinters, messages);
        console::ui::PageContext context{home.path(), store, settings, installedPrinters, messages};
        console::ui::ConsoleSettingsPages::Services services{portControl,
                                                             headerEditor,
                                                             purgeTimer,
                                                             skins,
                                                             reportPage,
                                                             desktop,
                                                             designer,
                                                             QStringLiteral("/opt/vantorel/vantorel"),
                                                             QStringLiteral("Vantorel")};
        pages = std::make_unique<console::ui::ConsoleSettingsPages>(context, services);
        pages->setHeaderEditorEnabled(settings.printHeader != 0);
        pages->setSkinFolder(home.path() + QStringLiteral("/Skin"));
        pages->showLayoutSettings(settings);
        pages->showAutoRun(settings.autoRun);
        pages->showFilmSaving(settings.saveFilms);
        pages->showServiceSettings(settings);
        pages->showPrinters(settings);
        messages.shown.clear();
    }

    void unlock() { QTest::keyClicks(pages->print().passwordEdit(), QStringLiteral("qarvo517")); }

    // Shows a page as a window of its own, so clicks reach it as on screen.
    static void showPage(QWidget& page)
    {
        page.resize(834, 690);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    // Clicks near the left end, where check boxes and radio buttons have
    // their indicator whatever width the layout gives them.
    static void click(QWidget* widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    }

    // An INI file of the home folder as it lies on disk.
    QByteArray fileBytes(const QString& relative) const
    {
        QFile file(home.path() + QLatin1Char('/') + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray gbk(const std::string& utf8) { return gbkBytes(utf8); }
    void writeIni(const QString& relative, const std::string& utf8) { home.writeBytes(relative, gbk(utf8)); }

    TestHome home;
    settings::SettingsStore store{home.pathText()};
    settings::Settings settings;
    settings::InstalledPrinters installedPrinters;
    RecordingMessages messages;
    RecordingPortControl portControl;
    RecordingHeaderEditor headerEditor;
    RecordingPurgeTimer purgeTimer;
    RecordingSkins skins;
    RecordingReportPage reportPage;
    RecordingDesktop desktop;
    RecordingDesigner designer;
    std::unique_ptr<console::ui::ConsoleSettingsPages> pages;
};

}  // namespace vantorel::testing
