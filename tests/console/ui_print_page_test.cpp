// The print settings page: its save, the routing rows' printer assignment and
// the page's other actions, driven through its widgets.

#include "console/ui/pages/output_mode_panel.h"
#include "console/ui/pages/print_page.h"
#include "console/ui/pages/routing_rows.h"
#include "pages_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextBrowser>

namespace vantorel::testing {
namespace {

using console::ui::OutputModePanel;

class PrintPageTest : public PagesTest {
protected:
    void startUnlocked(std::vector<std::string> installed = {"Laser A", "Laser B", "FilmFile"})
    {
        start(std::move(installed));
        unlock();
        showPage(page());
    }
    console::ui::PrintPage& page() { return pages->print(); }
    console::ui::RoutingRows& rows() { return page().routing(); }
    OutputModePanel& output() { return page().outputMode(); }

    // The README help windows that are up.
    static QList<QWidget*> readmeHelpWindows()
    {
        QList<QWidget*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("readmeHelp") &&
                !window->testAttribute(Qt::WA_WState_Hidden))
                found << window;
        return found;
    }
    static int readmeWindows() { return static_cast<int>(readmeHelpWindows().size()); }
    static QWidget* readmeWindow() { return readmeHelpWindows().value(0); }
};

TEST_F(PrintPageTest, SavingAFreshHomeWritesEveryKeyInOrderAsGbk)
{
    startUnlocked();
    click(page().saveButton());
    const std::string expected =
        "[PrtIni]\r\n启用LUT=0\r\n启用进纸器=1\r\n进纸器=1\r\n设备源=0\r\n打印黑底胶片=1\r\n"
        "其它规格胶片对应打印胶片规格=A4\r\n打印医院名称=1\r\n打印左边距=1\r\n打印上边距=1\r\n"
        "打印右边距=250\r\n打印下边距=250\r\nFilmSize_1=0\r\nFilmSize_2=0\r\nFilmSize_3=0\r\n"
        "FilmSize_4=0\r\nFilmSize_5=0\r\nFilmSize_6=0\r\nFilmSize_7=0\r\nFilmSize_8=0\r\n"
        "Printer_9=0\r\n启用胶片格式文件=0\r\n";
    EXPECT_EQ(fileBytes("PrtIni.ini"), gbk(expected));
    // "启用LUT=0" as the code page 936 bytes themselves.
    EXPECT_TRUE(fileBytes("PrtIni.ini").contains(QByteArray::fromHex("c6f4d3c34c55543d30")));
    // Film-size mode: no IP file comes into being.
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/IP/IP.ini"));
    ASSERT_EQ(reportPage.pages.size(), 1u);
    EXPECT_FLOAT_EQ(reportPage.pages[0].paperWidth, 20125.0f);
    EXPECT_FLOAT_EQ(reportPage.pages[0].paperHeight, 24478.7f);
    EXPECT_FLOAT_EQ(reportPage.pages[0].marginLeft, 5.0f);
    EXPECT_FLOAT_EQ(reportPage.pages[0].marginBottom, 5.0f);
}

TEST_F(PrintPageTest, AChoiceThatChoosesNothingIsSavedAsMinusOne)
{
    // A paper index outside the list and a printer position beyond the
    // installed printers leave those choices empty at start-up.
    writeIni("PrtIni.ini", "[PrtIni]\r\nFilmSize_3=12\r\nPrinter_9=5\r\n");
    startUnlocked();
    EXPECT_EQ(rows().paperBox(2)->currentIndex(), -1);
    EXPECT_EQ(page().otherPrinterBox()->currentIndex(), -1);
    click(page().saveButton());
    const QByteArray saved = fileBytes("PrtIni.ini");
    EXPECT_TRUE(saved.startsWith("[PrtIni]\r\nFilmSize_3=-1\r\nPrinter_9=-1\r\n")) << saved.data();
    EXPECT_TRUE(saved.contains("FilmSize_2=0\r\n"));
}

TEST_F(PrintPageTest, FilmSizeModeLeavesTheIpFileUntouchedAndDeviceModeWritesItAsTyped)
{
    const std::string ipFile = "[IP]\r\n1=10.0.0.1\r\n; kept\r\n3=10.0.0.3\r\n";
    writeIni("IP/IP.ini", ipFile);
    startUnlocked();
    EXPECT_EQ(rows().ipEntry(0)->text(), QStringLiteral("10.0.0.1"));
    click(page().saveButton());
    EXPECT_EQ(fileBytes("IP/IP.ini"), gbk(ipFile));

    click(rows().byDeviceChoice());
    rows().ipEntry(1)->setText(QStringLiteral(" 10.0.0.2 "));
    click(page().saveButton());
    EXPECT_EQ(fileBytes("IP/IP.ini"),
              gbk("[IP]\r\n1=10.0.0.1\r\n; kept\r\n3=10.0.0.3\r\n2= 10.0.0.2 \r\n4=\r\n5=\r\n6=\r\n"
                  "7=\r\n8=\r\n"));
    EXPECT_TRUE(fileBytes("PrtIni.ini").contains(gbk("设备源=1\r\n")));
}

TEST_F(PrintPageTest, UncheckedPaperBinWritesZeroAndKeepsTheStoredBin)
{
    writeIni("PrtIni.ini", "[PrtIni]\r\n进纸器=7\r\n启用进纸器=1\r\n");
    startUnlocked();
    EXPECT_TRUE(output().useBinBox()->isChecked());
    EXPECT_EQ(output().binBox()->currentText(), QStringLiteral("7"));
    click(output().templateChoice());
    output().binBox()->setCurrentIndex(11);  // "12", not saved while unchecked
    click(output().useBinBox());
    click(page().saveButton());
    const QByteArray saved = fileBytes("PrtIni.ini");
    EXPECT_TRUE(saved.startsWith(gbk("[PrtIni]\r\n进纸器=7\r\n启用进纸器=0\r\n"))) << saved.toHex().data();
    EXPECT_TRUE(saved.contains(QByteArray::fromHex("c6f4d3c3bdf8d6bdc6f73d30")));  // 启用进纸器=0
    EXPECT_TRUE(saved.contains(gbk("启用胶片格式文件=1\r\n")));

    click(output().useBinBox());
    click(page().saveButton());
    EXPECT_TRUE(fileBytes("PrtIni.ini").startsWith(gbk("[PrtIni]\r\n进纸器=12\r\n启用进纸器=1\r\n")));
}

TEST_F(PrintPageTest, ConfirmingRowFiveWithNothingSelectedEmptiesItsPool)
{
    writeIni("PrtLst/PrtLst.ini", "[PrtLst5]\r\n0=Laser A\r\n1=Laser B\r\n2=Old\r\n");
    startUnlocked();
    EXPECT_EQ(settings.routePrinters[5], (std::vector<std::string>{"Laser A", "Laser B", "Old"}));
    EXPECT_EQ(rows().poolView(5)->text(), QStringLiteral("Laser A; Laser B; Old"));
    EXPECT_FALSE(rows().printerList()->isVisible());

    QPushButton* button = rows().assignButton(5);
    click(button);
    EXPECT_EQ(button->text(), QStringLiteral("确认"));
    EXPECT_TRUE(rows().printerList()->isVisible());
    click(button);
    EXPECT_EQ(button->text(), QStringLiteral("指定"));
    EXPECT_FALSE(rows().printerList()->isVisible());
    EXPECT_TRUE(settings.routePrinters[5].empty());
    EXPECT_TRUE(rows().poolView(5)->text().isEmpty());
    EXPECT_EQ(fileBytes("PrtLst/PrtLst.ini"),
              gbk("[PrtLst5]\r\n0=\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n6=\r\n7=\r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrintPageTest, AConfirmedRowTakesTheSelectionInListOrder)
{
    writeIni("PrtLst/PrtLst.ini", "");
    startUnlocked();
    QListWidget* list = rows().printerList();
    click(rows().assignButton(2));
    click(rows().assignButton(6));     // a second row waits with its own "确认"
    list->item(2)->setSelected(true);  // FilmFile first, then Laser A
    list->item(0)->setSelected(true);
    click(rows().assignButton(2));
    EXPECT_EQ(settings.routePrinters[2], (std::vector<std::string>{"Laser A", "FilmFile"}));
    EXPECT_EQ(store.readSetting("PrtLst2", "1", "", settings::files::prtLst), "FilmFile");
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(rows().assignButton(6)->text(), QStringLiteral("确认"));
}

TEST_F(PrintPageTest, AssigningWithoutThePrinterListFileSaysSoAndGoesOn)
{
    startUnlocked();
    click(rows().assignButton(0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "配置文件未找到，打印机设置无效：" + home.pathText() + "/PrtLst/PrtLst.ini");
    EXPECT_EQ(messages.shown[0].title, "打印机设置无效");
    EXPECT_EQ(rows().assignButton(0)->text(), QStringLiteral("确认"));
    rows().printerList()->item(1)->setSelected(true);
    click(rows().assignButton(0));
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(settings.routePrinters[0], std::vector<std::string>{"Laser B"});
}

TEST_F(PrintPageTest, LiveFieldsActBeforeSavingAndStartUpFieldsOnlyWhenRestarted)
{
    startUnlocked();
    click(rows().byDeviceChoice());
    rows().ipEntry(3)->setText(QStringLiteral("192.168.1.9"));
    rows().paperBox(4)->setCurrentIndex(9);
    page().otherPrinterBox()->setCurrentIndex(2);
    click(page().blackBaseBox());
    click(output().templateChoice());
    click(page().lutBox());
    page().otherPaperBox()->setCurrentIndex(0);
    EXPECT_TRUE(settings.routeByDevice);
    EXPECT_EQ(settings.routeDeviceIp[3], "192.168.1.9");
    EXPECT_EQ(settings.routePaperIndex[4], 9);
    EXPECT_EQ(settings.otherPrinterIndex, 2);
    EXPECT_EQ(settings.blackBase, 0);
    EXPECT_TRUE(settings.templateMode);
    EXPECT_EQ(settings.lutEnabled, "0");
    EXPECT_EQ(settings.otherPaper, "A4");

    click(page().saveButton());
    EXPECT_EQ(settings.lutEnabled, "0");
    EXPECT_EQ(settings.otherPaper, "A4");
    const QByteArray saved = fileBytes("PrtIni.ini");
    EXPECT_TRUE(saved.contains(gbk("启用LUT=1\r\n")));
    EXPECT_TRUE(saved.contains(gbk("其它规格胶片对应打印胶片规格=A3\r\n")));
    EXPECT_TRUE(saved.contains("FilmSize_5=9\r\n"));
    EXPECT_TRUE(saved.contains("Printer_9=2\r\n"));
}

TEST_F(PrintPageTest, SavingRecomputesTheHeaderBand)
{
    writeIni("医院名称/Hospital.ini", "[Parameter]\r\n医院名称打印区高度=1500\r\n");
    startUnlocked();
    EXPECT_EQ(settings.header.htjcs, 1500);
    writeIni("医院名称/Hospital.ini", "[Parameter]\r\n医院名称打印区高度=1800\r\n");
    click(page().printHeaderBox());
    click(page().saveButton());
    EXPECT_EQ(settings.header.htjcs, 0);
    click(page().printHeaderBox());
    click(page().saveButton());
    EXPECT_EQ(settings.header.htjcs, 1800);
}

TEST_F(PrintPageTest, RoutingChoiceSwitchesTheRowsAndOutputModeSwitchesThePanels)
{
    startUnlocked();
    for (int row : {0, 7}) {
        EXPECT_TRUE(rows().filmSizeBox(row)->isVisible()) << row;
        EXPECT_FALSE(rows().ipEntry(row)->isVisible()) << row;
    }
    EXPECT_EQ(rows().filmSizeBox(7)->text(), QStringLiteral("10INX14IN"));
    click(rows().byDeviceChoice());
    EXPECT_FALSE(rows().filmSizeBox(0)->isVisible());
    EXPECT_TRUE(rows().ipEntry(0)->isVisible());
    EXPECT_EQ(rows().ipEntry(0)->toolTip(), QStringLiteral("请输入接入设备的IP"));

    EXPECT_TRUE(output().autoLayoutPanel()->isEnabled());
    EXPECT_FALSE(output().templatePanel()->isEnabled());
    click(output().templateChoice());
    EXPECT_FALSE(output().autoLayoutPanel()->isEnabled());
    EXPECT_TRUE(output().templatePanel()->isEnabled());
}

TEST_F(PrintPageTest, SliderLabelsCarryMillimetresOnlyForLeftAndTop)
{
    startUnlocked();
    struct Case {
        OutputModePanel::Margin margin;
        int value;
        const char* label;
    };
    const Case cases[] = {
        {OutputModePanel::Left, -12, "-12mm"},    {OutputModePanel::Top, 100, "100mm"},
        {OutputModePanel::Right, -3000, "-3000"}, {OutputModePanel::Bottom, 0, "0"},
        {OutputModePanel::Bottom, 400, "250"},
    };
    EXPECT_EQ(output().sliderValue(OutputModePanel::Left)->text(), QStringLiteral("1mm"));
    EXPECT_EQ(output().sliderValue(OutputModePanel::Right)->text(), QStringLiteral("250"));
    for (const Case& c : cases) {
        output().slider(c.margin)->setValue(c.value);
        EXPECT_EQ(output().sliderValue(c.margin)->text(), QString::fromLatin1(c.label)) << c.label;
    }
    EXPECT_EQ(settings.marginLeft, -12);
    EXPECT_EQ(settings.marginBottom, 250);
}

TEST_F(PrintPageTest, HeaderButtonFollowsTheBoxAndOpensTheEditor)
{
    startUnlocked();
    EXPECT_TRUE(page().headerEditorButton()->isEnabled());
    click(page().printHeaderBox());
    EXPECT_FALSE(page().headerEditorButton()->isEnabled());
    EXPECT_EQ(settings.printHeader, 0);
    click(page().printHeaderBox());
    click(page().headerEditorButton());
    ASSERT_EQ(headerEditor.owners.size(), 1u);
    EXPECT_EQ(headerEditor.owners[0], page().window());
}

TEST_F(PrintPageTest, HelpAndTheFormatDesigner)
{
    startUnlocked();
    home.writeBytes(QStringLiteral("help.mht"), "MIME-Version: 1.0\n");
    click(page().helpButton());
    EXPECT_EQ(desktop.documents, QStringList{home.path() + "/help.mht"});
    EXPECT_EQ(page().helpButton()->toolTip(), QStringLiteral("设置帮助"));
    EXPECT_EQ(readmeWindows(), 0);

    // Without a designer program beside it, the built-in designer opens
    // over the window, and nothing is said.
    click(output().templateChoice());
    click(output().designerButton());
    ASSERT_EQ(designer.owners.size(), 1u);
    EXPECT_EQ(designer.owners[0], page().window());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(desktop.programs.isEmpty());

    // With one, that program starts instead.
    home.writeBytes(QStringLiteral("胶片模式设计.exe"), "#!/bin/sh\n");
    click(output().designerButton());
    EXPECT_EQ(desktop.programs, QStringList{home.path() + QStringLiteral("/胶片模式设计.exe")});
    EXPECT_EQ(designer.owners.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
}

// Without help.mht the README opens, rendered, in a window of the program
// (a desktop without an opener for .mht files still gets help), and is
// written as help.html into the home.
TEST_F(PrintPageTest, HelpWithoutHelpFileShowsTheReadme)
{
    startUnlocked();
    click(page().helpButton());
    EXPECT_TRUE(desktop.documents.isEmpty());
    ASSERT_EQ(readmeWindows(), 1);
    auto* window = readmeWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("设置帮助"));
    const auto* text = window->findChild<QTextBrowser*>(QStringLiteral("readmeText"));
    ASSERT_NE(text, nullptr);
    const QString shown = text->toPlainText();
    // Markdown rendered: headings and code without their marks.
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Vantorel"))) << shown.left(200).toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("The two commands")));
    EXPECT_FALSE(shown.contains(QStringLiteral("## "))) << "Markdown shown as text";
    EXPECT_TRUE(shown.contains(QStringLiteral("医院名称设置")));
    QFile html(home.path() + "/help.html");
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("<html"))) << written.left(200).toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("The two commands")));

    // Asked again, the one window comes to the front.
    click(page().helpButton());
    EXPECT_EQ(readmeWindows(), 1);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(readmeWindows(), 0);
}

// Where help.html cannot be written (a folder in its place here; a
// read-only home alike), the help still shows, from the README's text.
TEST_F(PrintPageTest, HelpThatCannotBeWrittenStillShowsTheReadme)
{
    startUnlocked();
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("help.html")));
    click(page().helpButton());
    ASSERT_EQ(readmeWindows(), 1);
    const auto* text = readmeWindow()->findChild<QTextBrowser*>(QStringLiteral("readmeText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("The two commands")));
    readmeWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace vantorel::testing
