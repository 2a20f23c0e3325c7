#pragma once

#include <string>

namespace vantorel::console {

// Removes blanks and tabs at both ends.
std::string trimBlanks(const std::string& text);

// ASCII-only case folding comparison, as INI section and key names are matched.
bool equalsIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace vantorel::console
