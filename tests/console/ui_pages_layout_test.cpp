// The settings pages inside the main window at its default size, with each
// shipped skin and without one: every page gets at least the room its layout
// needs, and no visible control reaches outside its page.

#include "base/clock.h"
#include "console/ui/main_window.h"
#include "console/ui/pages/routing_rows.h"
#include "console/ui/skin.h"
#include "pages_fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace vantorel::testing {
namespace {

using console::ui::PageKey;

class PagesLayoutTest : public PagesTest {
protected:
    void TearDown() override { qApp->setStyleSheet(QString()); }

    // `page` needs no more room than the page area has, and each of its
    // visible controls lies inside it.
    static void expectInside(QWidget* page, QSize area, const std::string& row)
    {
        const QSize needed = page->minimumSizeHint();
        EXPECT_LE(needed.width(), area.width()) << row;
        EXPECT_LE(needed.height(), area.height()) << row;
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(page) || child->isWindow())
                continue;
            const QRect area(child->mapTo(page, QPoint(0, 0)), child->size());
            EXPECT_TRUE(page->rect().contains(area)) << row << ": " << child->metaObject()->className() << " "
                                                     << child->objectName().toStdString();
        }
    }
};

TEST_F(PagesLayoutTest, EveryPageFitsTheDefaultWindowWithEachSkin)
{
    const char* skins[] = {"", "1.she", "2.she", "3.she"};
    for (const char* skin : skins) {
        qApp->setStyleSheet(QString());
        if (*skin) {
            ASSERT_TRUE(console::ui::applySkin(
                *qApp, QStringLiteral(VANTOREL_RUNTIME_DIR "/Skin/") + QString::fromLatin1(skin)));
        }
        start({"A printer with a rather long device name", "Laser B", "FilmFile"});
        unlock();
        console::ui::ConsoleSettingsPages* settingsPages = pages.get();
        base::SystemClock clock;
        console::ui::MainWindow window(home.path(), clock, messages, std::move(pages));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const std::string row = std::string("skin '") + skin + "'";
        // A page that needs more room would have made the window grow.
        EXPECT_EQ(window.width(), 1024) << row;
        EXPECT_EQ(window.height(), 720) << row;
        const QSize area = window.findChild<QStackedWidget*>(QStringLiteral("pages"))->size();

        const std::pair<PageKey, QWidget*> shown[] = {
            {PageKey::Dicom, settingsPages->dicomPage()},
            {PageKey::Print, settingsPages->printPage()},
            {PageKey::Appearance, settingsPages->appearancePage()},
            {PageKey::RunSettings, settingsPages->runSettingsPage()},
        };
        for (const auto& [key, page] : shown) {
            window.showPage(key);
            QCoreApplication::processEvents();
            expectInside(page, area, row + " page " + page->objectName().toStdString());
        }
        // The print page while a row is being assigned, in device mode.
        window.showPage(PageKey::Print);
        settingsPages->print().routing().assign(0);
        click(settingsPages->print().routing().byDeviceChoice());
        QCoreApplication::processEvents();
        expectInside(settingsPages->printPage(), area, row + " print page assigning");
    }
}

}  // namespace
}  // namespace vantorel::testing
