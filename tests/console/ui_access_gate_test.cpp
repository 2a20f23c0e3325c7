// The password boxes of the DICOM, print and run pages, typed into as the
// operator types.

#include "console/ui/pages/dicom_page.h"
#include "console/ui/pages/print_page.h"
#include "console/ui/pages/run_page.h"
#include "pages_fixture.h"

#include <QPushButton>

namespace vantorel::testing {
namespace {

using console::ui::ConsoleSettingsPages;

struct Box {
    const char* page;
    QLineEdit* (*edit)(ConsoleSettingsPages&);
};

const Box boxes[] = {
    {"dicom", [](ConsoleSettingsPages& p) { return p.dicom().passwordEdit(); }},
    {"print", [](ConsoleSettingsPages& p) { return p.print().passwordEdit(); }},
    {"run", [](ConsoleSettingsPages& p) { return p.run().passwordEdit(); }},
};

class AccessGateTest : public PagesTest {
protected:
    std::vector<QWidget*> groups() const
    {
        return {pages->dicom().lockedGroup(), pages->print().lockedGroup(), pages->run().lockedGroup()};
    }
    void expectAll(bool enabled, const QString& text, const char* row) const
    {
        for (const Box& box : boxes) {
            EXPECT_EQ(box.edit(*pages)->text(), text) << row << ": box " << box.page;
            EXPECT_EQ(box.edit(*pages)->displayText(), QString(text.size(), QLatin1Char('*')))
                << row << ": box " << box.page;
        }
        for (QWidget* group : groups())
            EXPECT_EQ(group->isEnabled(), enabled)
                << row << ": " << group->parent()->objectName().toStdString();
    }
};

TEST_F(AccessGateTest, ThePasswordInAnyBoxOpensAllThreeAndOneDeletedCharacterLocksThem)
{
    for (const Box& box : boxes) {
        start();
        expectAll(false, QString(), box.page);
        QLineEdit* edit = box.edit(*pages);
        QTest::keyClicks(edit, QStringLiteral("qarvo517"));
        expectAll(true, QStringLiteral("qarvo517"), box.page);
        QTest::keyClick(edit, Qt::Key_Backspace);
        expectAll(false, QStringLiteral("qarvo51"), box.page);
        // Typing the missing character back opens them again.
        QTest::keyClicks(edit, QStringLiteral("7"));
        expectAll(true, QStringLiteral("qarvo517"), box.page);
    }
}

TEST_F(AccessGateTest, AnotherLetterCaseStaysLocked)
{
    for (const char* typed : {"QARVO517", "Qarvo517", "qarvO517"}) {
        start();
        QTest::keyClicks(pages->run().passwordEdit(), QString::fromLatin1(typed));
        expectAll(false, QString::fromLatin1(typed), typed);
    }
}

TEST_F(AccessGateTest, ALockedPageIgnoresItsSaveButton)
{
    start();
    showPage(pages->print());
    click(pages->print().saveButton());
    showPage(pages->dicom());
    click(pages->dicom().saveButton());
    EXPECT_TRUE(fileBytes("PrtIni.ini").isEmpty());
    EXPECT_TRUE(portControl.calls.empty());
}

}  // namespace
}  // namespace vantorel::testing
