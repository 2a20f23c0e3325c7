#pragma once

#include <string>

namespace vantorel::base {

// Text on disk (INI files, run log) is GBK, code page 936; in memory it is UTF-8.

// GBK bytes to UTF-8. Never fails: a byte that does not start a valid GBK
// character becomes U+FFFD and decoding goes on with the next byte.
std::string gbkToUtf8(const std::string& gbk);

// UTF-8 to GBK. A character that GBK cannot hold, and a byte that is not valid
// UTF-8, becomes '?'.
std::string utf8ToGbk(const std::string& utf8);

// Valid UTF-8 with every invalid sequence replaced by U+FFFD.
std::string repairUtf8(const std::string& utf8);

// Number of characters (code points) in a valid UTF-8 string.
std::size_t utf8Length(const std::string& utf8);

// The first `count` characters of a UTF-8 string.
std::string utf8Left(const std::string& utf8, std::size_t count);

}  // namespace vantorel::base
