#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantorel::base {

// The three ways a stored text becomes a value.

// "number": the leading decimal number of the text (optional sign, digits,
// optional fraction); 0 when there is none.
double leadingNumber(const std::string& text);

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// "number" for 16-bit fields: leadingNumber rounded half-to-even; nullopt when
// the result does not fit 16 bits.
std::optional<std::int16_t> numberAsInt16(const std::string& text);

// "whole number": the whole (trimmed) text as a number, rounded half-to-even to
// 16 bits; nullopt when the text is not a number or does not fit.
std::optional<std::int16_t> wholeNumber(const std::string& text);

// "whole number" for 32-bit values (the film counter): as wholeNumber, to 32 bits.
std::optional<std::int32_t> wholeNumberAsInt32(const std::string& text);

// Decimal text of a number as the settings keep it ("255", "10.5").
std::string numberText(double value);

}  // namespace vantorel::base
