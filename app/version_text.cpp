#include "version_text.h"

#include "print_service/printer_object.h"

#include <QtGlobal>

namespace vantorel::app {

std::string versionText()
{
    std::string text = "vantorel " VANTOREL_VERSION "\n";
    text += print_service::toolkitVersionText() + "\n";  // as the Printer object reports it
    // The Qt the program runs with; the one it was built with when they differ.
    text += std::string("Qt ") + qVersion();
    if (std::string(qVersion()) != QT_VERSION_STR)
        text += " (built with " QT_VERSION_STR ")";
    return text + "\n";
}

}  // namespace vantorel::app
