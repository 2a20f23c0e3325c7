#pragma once

#include <string>

namespace vantorel::app {

// "vantorel 0.1" and the versions of the toolkits it runs on, one per line,
// for `vantorel --version` (installers and bug reports).
std::string versionText();

}  // namespace vantorel::app
