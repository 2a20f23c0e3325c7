#pragma once

#include <string>

namespace vantorel::console {

// Removes blanks and tabs at both ends.
std::string trimBlanks(const std::string& text);

// A value a peer sent, as a log line may quote it: at most 256 bytes (cut
// at a UTF-8 character boundary), followed by "...(N bytes)" when longer, so
// that one huge attribute does not become megabytes of log. Control
// characters are escaped by the run log itself.
std::string loggedValue(const std::string& value);

// ASCII-only case folding comparison, as INI section and key names are matched.
bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace vantorel::console
