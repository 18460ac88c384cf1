// Number rules shared by both programs: how a counter shown in a control is read
// and written back.
//
// Handlers read a control's text, convert it here, step it in double
// arithmetic and write it back with numberToText, so whole values show without
// a decimal point. Results never depend on the process locale or on the C
// library's printf.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// Leading decimal integer after full-width folding and white space; 0 when
// there are no digits; clamped to the int32 range.
std::int32_t textToInteger(std::string_view text);

// Longest decimal prefix (sign, digits, point, e/E/d/D exponent) after folding
// and white space, correctly rounded; 0 when there is none.
double textToNumber(std::string_view text);

// "%d".
std::string integerToText(std::int32_t value);

// "%.13g" with an exponent of at least three digits (1e+013, 1e-005).
std::string numberToText(double value);

}  // namespace text
