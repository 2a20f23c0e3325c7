#include "settings/settings_model.h"

namespace vantorel::settings {

const std::vector<std::string>& paperCodeList()
{
    static const std::vector<std::string> list{"A3", "A4",      "810",     "1114",    "1417",
                                               "B5", "自定义1", "自定义2", "自定义3", "自定义4"};
    return list;
}

const std::vector<std::string>& paperBinList()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> bins;
        for (int bin = 1; bin <= 26; ++bin)
            bins.push_back(std::to_string(bin));
        return bins;
    }();
    return list;
}

const std::vector<std::string>& otherPaperList()
{
    static const std::vector<std::string> list{"A3", "A4"};
    return list;
}

}  // namespace vantorel::settings
