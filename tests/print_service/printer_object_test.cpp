#include "print_service/printer_object.h"

#include "print_service/print_object_store.h"
#include "print_service/sop_uids.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcelem.h>

#include <gtest/gtest.h>

namespace vantorel::print_service {
namespace {

std::vector<std::pair<std::string, std::string>> attributesOf(const PrintObject& object)
{
    std::vector<std::pair<std::string, std::string>> found;
    DcmDataset& data = const_cast<DcmDataset&>(object.attributes());
    for (unsigned long i = 0; i < data.card(); ++i) {
        DcmElement* element = data.getElement(i);
        OFString value;
        element->getOFStringArray(value);
        found.emplace_back(element->getTag().toString().c_str(), value.c_str());
    }
    return found;
}

TEST(PrinterObject, HoldsTheEightAttributesUnderTheWellKnownInstance)
{
    struct Case {
        const char* aeTitle;
        bool fujiCr;
        const char* manufacturer;
        const char* statusInfo;
    };
    for (const Case c : {Case{"ZQ", true, "ZQ", "NORMAL"}, Case{" PRINTER ", false, "PRINTER", ""}}) {
        PrintObjectStore store;
        MakePrinterdataset(store, c.aeTitle, c.fujiCr, toolkitVersionText());
        const PrintObject* printer = store.Dataset("", sop::printerInstance);
        ASSERT_NE(printer, nullptr);
        EXPECT_TRUE(printer->childObjects().empty());
        using Row = std::pair<std::string, std::string>;
        EXPECT_EQ(attributesOf(*printer),
                  (std::vector<Row>{
                      {"(0008,0016)", sop::printer},
                      {"(0008,0018)", sop::printerInstance},
                      {"(0008,0070)", c.manufacturer},
                      {"(0008,1090)", "Printer SCP"},
                      {"(0018,1000)", "100001"},
                      {"(0018,1020)", "DCMTK 3.6.7"},
                      {"(2110,0010)", "NORMAL"},
                      {"(2110,0020)", c.statusInfo},
                  }))
            << c.aeTitle;
    }
}

}  // namespace
}  // namespace vantorel::print_service
