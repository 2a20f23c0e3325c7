#include "print_job/printer_routing.h"

#include <gtest/gtest.h>

namespace vantorel::print_job {
namespace {

using Pools = std::array<std::vector<std::string>, settings::routeCount>;

TEST(FilmSizeCode, RoutesEveryKnownSizeAndFallsBack)
{
    struct Case {
        const char* filmSize;
        const char* code;
        int route;
    };
    const Case cases[] = {
        {"14INX17IN", "1417", 0},
        {"14inx17in", "1417", 0},
        {"14INX14IN", "1414", 1},
        {"11INX14IN", "1114", 2},
        {"10INX12IN", "1012", 3},
        {"8INX10IN", "810", 4},
        {"A3", "A3", 5},
        {"a4", "A4", 6},
        {"10INX14IN", "1014", 7},
        {"24CMX24CM", "24CM24CM", 8},
        {"", "", 8},
        {"14INX17IN ", "1417 ", 8},
        {"14XIN17IN", "1417", 0},  // "X" goes first, then "IN"
        {"A4X", "A4", 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filmSizeCode(c.filmSize), c.code) << c.filmSize;
        EXPECT_EQ(routeIndexForFilmSize(c.filmSize), c.route) << c.filmSize;
    }
}

TEST(RouteByDevice, FirstExactAddressWinsOtherwiseRouteEight)
{
    std::array<std::string, settings::routeCount> ips{};
    ips[2] = "10.0.0.7";
    ips[5] = "10.0.0.7";  // duplicate: the lower route wins
    ips[6] = "127.0.0.1";
    struct Case {
        const char* rip;
        int route;
    };
    const Case cases[] = {
        {"10.0.0.7", 2}, {"127.0.0.1", 6}, {"10.0.0.8", 8}, {"10.0.0.70", 8}, {" 10.0.0.7", 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(routeIndexForDevice(c.rip, ips), c.route) << c.rip;
}

TEST(RouteByDevice, ModeIsReadFromTheLiveSettings)
{
    settings::Settings settings;
    settings.routeDeviceIp[3] = "192.168.1.20";
    EXPECT_EQ(routeIndexFor(settings, "8INX10IN", "192.168.1.20"), 4);
    settings.routeByDevice = true;
    EXPECT_EQ(routeIndexFor(settings, "8INX10IN", "192.168.1.20"), 3);
    EXPECT_EQ(routeIndexFor(settings, "8INX10IN", "192.168.1.21"), 8);
}

TEST(GetNextPrt, AdvancesBeforeUseAndWraps)
{
    Pools pools;
    pools[0] = {"A", "B", "C"};
    pools[3] = {"P1", "P2"};
    pools[4] = {"Only"};
    PrinterRotation rotation;

    std::vector<std::string> route0;
    for (int film = 0; film < 6; ++film) {
        rotation.GetNextPrt(0, pools);
        route0.push_back(rotation.CurrentPrinterName());
    }
    EXPECT_EQ(route0, (std::vector<std::string>{"B", "C", "A", "B", "C", "A"}));

    rotation.GetNextPrt(3, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "P2");
    rotation.GetNextPrt(3, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "P1");

    for (int film = 0; film < 3; ++film) {
        rotation.GetNextPrt(4, pools);
        EXPECT_EQ(rotation.CurrentPrinterName(), "Only");
        EXPECT_EQ(rotation.rotationIndex(4), 0);
    }
    EXPECT_EQ(rotation.rotationIndex(0), 0);  // the sixth film went to "A"
    EXPECT_EQ(rotation.rotationIndex(3), 0);  // routes keep their own positions
}

TEST(GetNextPrt, EmptyRouteClearsTheNameRouteEightKeepsIt)
{
    Pools pools;
    pools[1] = {"Laser"};
    PrinterRotation rotation;
    EXPECT_EQ(rotation.CurrentPrinterName(), "");
    rotation.GetNextPrt(8, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "");

    rotation.GetNextPrt(1, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "Laser");
    rotation.GetNextPrt(8, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "Laser");

    rotation.GetNextPrt(2, pools);  // configured route without printers
    EXPECT_EQ(rotation.CurrentPrinterName(), "");
    EXPECT_EQ(rotation.rotationIndex(2), 0);
}

TEST(GetNextPrt, ShrunkPoolRestartsAtTheFirstPrinter)
{
    Pools pools;
    pools[0] = {"A", "B", "C"};
    PrinterRotation rotation;
    rotation.GetNextPrt(0, pools);
    rotation.GetNextPrt(0, pools);  // position 2: "C"
    pools[0] = {"A", "B"};          // edited on the print page
    rotation.GetNextPrt(0, pools);
    EXPECT_EQ(rotation.CurrentPrinterName(), "A");
}

}  // namespace
}  // namespace vantorel::print_job
