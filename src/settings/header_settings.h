#pragma once

#include <string>

namespace vantorel::settings {

// The hospital-name header as films carry it; read from "\医院名称\Hospital.ini"
// at start-up, changed by the hospital-name editor, used by film composition.
struct HeaderSettings {
    std::string hleft = "0";  // start point of the generated header, twips
    std::string htop = "0";
    std::string hname = "0";  // hospital name
    std::string hys = "0";    // text colour 0x00BBGGRR as decimal text
    std::string hzt = "0";    // font name
    std::string hzh = "0";    // font size in points, decimal text
    std::string hct = "0";    // "True" prints bold
    int htjcs = 1000;         // header band height, twips; 0 when headers are off
    std::string crosswidth = "500";
    std::string yyname = "0";  // "1": use the operator's own header picture yymc.bmp
};

}  // namespace vantorel::settings
