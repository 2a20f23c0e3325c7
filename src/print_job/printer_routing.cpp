#include "print_job/printer_routing.h"

#include <algorithm>

namespace vantorel::print_job {

namespace {

void eraseAll(std::string& text, const std::string& part)
{
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

}  // namespace

std::string filmSizeCode(const std::string& filmSizeId)
{
    std::string code = filmSizeId;
    std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
    });
    eraseAll(code, "X");
    eraseAll(code, "IN");
    return code;
}

int routeIndexForFilmSize(const std::string& filmSizeId)
{
    static const char* const codes[settings::routeCount] = {
        "1417", "1414", "1114", "1012", "810", "A3", "A4", "1014",
    };
    const std::string code = filmSizeCode(filmSizeId);
    for (int route = 0; route < settings::routeCount; ++route) {
        if (code == codes[route])
            return route;
    }
    return otherRoute;
}

int routeIndexForDevice(const std::string& rip,
                        const std::array<std::string, settings::routeCount>& routeDeviceIp)
{
    for (int route = 0; route < settings::routeCount; ++route) {
        if (routeDeviceIp[route] == rip)
            return route;
    }
    return otherRoute;
}

int routeIndexFor(const settings::RoutingSettings& settings, const std::string& filmSize,
                  const std::string& rip)
{
    return settings.routeByDevice ? routeIndexForDevice(rip, settings.routeDeviceIp)
                                  : routeIndexForFilmSize(filmSize);
}

const std::string&
PrinterRotation::GetNextPrt(int route,
                            const std::array<std::vector<std::string>, settings::routeCount>& routePrinters)
{
    // Other sizes and unknown devices: the previous printer stays current.
    if (route < 0 || route >= settings::routeCount)
        return currentPrinterName_;
    const auto& printers = routePrinters[route];
    const int n = static_cast<int>(printers.size());
    auto& position = rotationIndex_[route];
    // Advanced before use, on purpose: the first film of a route goes to its
    // second printer, and sites balance their printers with that in mind.
    if (position >= n - 1)
        position = 0;
    else
        ++position;
    currentPrinterName_ = printers.empty() ? std::string() : printers[position];
    return currentPrinterName_;
}

std::int16_t PrinterRotation::rotationIndex(int route) const
{
    return (route >= 0 && route < settings::routeCount) ? rotationIndex_[route] : 0;
}

}  // namespace vantorel::print_job
