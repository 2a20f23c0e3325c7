// A CUPS queue that refuses films, seen through the real program on both
// composition roads: the film counts but is answered as not printed, the run
// log says why, the Printer object reports it, and films print again once the
// queue takes jobs. Each test makes and removes a cups-pdf queue of its own.

#include "print_server.h"
#include "support/cups_test_queue.h"

#include <gtest/gtest.h>

#include <string>

namespace vantorel::testing {
namespace {

struct Road {
    const char* name;
    QString prtIni;
    bool templates;
};

// Direct films; template films through the shipped 14 x 17 inch template
// (the first route is on paper "1417", index 4).
const Road roads[] = {
    {"direct", "打印黑底胶片=1\r\n打印医院名称=0\r\n打印下边距=0\r\n打印左边距=0\r\n打印上边距=0\r\n", false},
    {"template", "启用胶片格式文件=1\r\nFilmSize_1=4\r\n", true},
};

bool hasLineStartingWith(const std::vector<std::string>& lines, const std::string& start,
                         const std::string& containing = {})
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(start, 0) == 0 && line.find(containing) != std::string::npos;
    });
}

TEST(RefusingPrinter, RejectedQueueGivesAFailedFilmUntilItAcceptsAgain)
{
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        CupsTestQueue queue;
        if (!queue.problem().empty())
            GTEST_SKIP() << queue.problem();
        const std::string name = queue.name().toStdString();
        TempHome home;
        if (road.templates) {
            QDir().mkpath(home.path() + "/ReportMode");
            QFile::copy(QString(VANTOREL_SHIPPED_TEMPLATES) + "/1417-22.rpx",
                        home.path() + "/ReportMode/1417-22.rpx");
        }
        home.writeFile("PrtLst/PrtLst.ini", gbk("[PrtLst0]\r\n0=" + queue.name() + "\r\n"));
        PrintServer server(home, road.prtIni);
        ASSERT_TRUE(server.start());
        const QStringList film{"--format",      "STANDARD\\2,2", "--film-size", "14INX17IN",
                               "--orientation", "PORTRAIT",      "--size",      "64"};

        ASSERT_TRUE(queue.reject("out of film")) << queue.lastOutput();
        const ProgramResult refused = server.print(film);
        EXPECT_EQ(refused.exitCode, 1) << refused.out;
        const std::string why = "printer " + name + " is not accepting jobs: out of film";
        // The Error Comment is cut to 64 characters.
        const std::string comment = ("Film not printed: " + why).substr(0, 64);
        EXPECT_NE(refused.out.find("N-ACTION Film Box: status 0x0110, error comment: " + comment),
                  std::string::npos)
            << refused.out;
        const auto log = runLogMessages(home);
        if (road.templates)
            EXPECT_TRUE(hasLineStartingWith(log, "打印Err.Number:5" + why + "打印机状态:")) << why;
        else
            EXPECT_EQ(countOf(log, "printer " + name + " did not take the film: " + why), 1);
        EXPECT_EQ(countOf(log, "Printer Status FAILURE: " + why), 1);
        EXPECT_EQ(countOf(log, "打印第【1】张胶片。"), 1);  // the film still counts
        const ProgramResult asked = server.print({"--sessions", "0"});
        EXPECT_NE(asked.out.find("Printer Status: FAILURE"), std::string::npos) << asked.out;
        EXPECT_NE(asked.out.find("Printer Status Info: CHECK PRINTER"), std::string::npos) << asked.out;

        ASSERT_TRUE(queue.accept()) << queue.lastOutput();
        const ProgramResult printed = server.print(film);
        EXPECT_EQ(printed.exitCode, 0) << printed.out;
        EXPECT_NE(printed.out.find("N-ACTION Film Box: status 0x0000"), std::string::npos) << printed.out;
        EXPECT_EQ(waitForNewPdfs(queue.folder(), {}, 1, queue.name()).size(), 1);  // the second film only
        const ProgramResult again = server.print({"--sessions", "0"});
        EXPECT_NE(again.out.find("Printer Status: NORMAL"), std::string::npos) << again.out;
    }
}

}  // namespace
}  // namespace vantorel::testing
