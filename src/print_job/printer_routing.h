#pragma once

#include "settings/settings_model.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantorel::print_job {

// Route 8 stands for every film that matches none of the eight configured routes.
inline constexpr int otherRoute = settings::routeCount;

// The Film Size ID reduced to the short code that selects a route: upper-cased,
// every "X" deleted, then every "IN" deleted ("14inx17in" -> "1417").
std::string filmSizeCode(const std::string& filmSizeId);

// Route 0 ... 7 for the eight known codes ("1417", "1414", "1114", "1012", "810",
// "A3", "A4", "1014"), 8 for any other.
int routeIndexForFilmSize(const std::string& filmSizeId);

// The first route whose device address equals `rip` exactly; 8 when none does.
int routeIndexForDevice(const std::string& rip,
                        const std::array<std::string, settings::routeCount>& routeDeviceIp);

// The route of a film under the live routing mode of the settings.
int routeIndexFor(const settings::RoutingSettings& settings, const std::string& filmSize,
                  const std::string& rip);

// The printer rotation of the direct road: one position per route, advanced
// before use, and the printer chosen for the film at hand. Lives for the run.
class PrinterRotation {
public:
    // Routes 0 ... 7 advance the route's position (wrapping to the first printer
    // after the last) and set CurrentPrinterName; an empty route gives an empty
    // name. Route 8 (and anything out of range) keeps the previous printer.
    // Returns CurrentPrinterName.
    const std::string&
    GetNextPrt(int route, const std::array<std::vector<std::string>, settings::routeCount>& routePrinters);

    const std::string& CurrentPrinterName() const { return currentPrinterName_; }
    std::int16_t rotationIndex(int route) const;

private:
    std::array<std::int16_t, settings::routeCount> rotationIndex_{};
    std::string currentPrinterName_;
};

}  // namespace vantorel::print_job
