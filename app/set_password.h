#pragma once

#include <string>

namespace vantorel::app {

// `vantorel --set-password`: asks twice for the new password of the settings
// pages (without echo on a terminal; from standard input as two lines
// otherwise), stores its salted hash as "SettingsPasswordHash" in [PrtIni]
// of the home's PrtIni.ini, and says so. 0 when stored, 1 when the password
// is empty, the two differ or the file cannot be written.
int setSettingsPassword(const std::string& home);

}  // namespace vantorel::app
