#pragma once

#include <string>
#include <vector>

namespace vantorel::base {

// Removes blanks and tabs at both ends.
std::string trimBlanks(const std::string& text);

// Removes spaces (not tabs) at both ends: the padding of DICOM values.
std::string trimSpaces(const std::string& text);

// A number of a date or time as two digits ("07"; more when it has more).
std::string twoDigits(int value);

// The parts one after another with `separator` between them.
std::string joined(const std::vector<std::string>& parts, const std::string& separator);

// A DIMSE status or command as the logs show it: "0x" and four upper-case
// hexadecimal digits (the low 16 bits).
std::string statusHex(unsigned value);

// A value a peer sent, as a log line may quote it: at most 256 bytes (cut
// at a UTF-8 character boundary), followed by "...(N bytes)" when longer, so
// that one huge attribute does not become megabytes of log. Control
// characters are escaped by the run log itself.
std::string loggedValue(const std::string& value);

// ASCII-only case folding comparison, as INI section and key names are matched.
bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace vantorel::base
