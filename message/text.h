// Text rules shared by both programs.
//
// A text is a GBK byte string without zero bytes; std::string holds it and an
// empty string stands for an absent text too. Every length and position here is
// a byte count. Where characters matter, a byte of 0x80 or above starts a
// two-byte character and takes the following byte with it, whatever its value.
//
// All functions are pure: they never fail and never touch their arguments.
// Callers: the wire codec, the component layer and every handler of both
// programs.
#pragma once

#include <string>
#include <string_view>
#include <initializer_list>

namespace text {

using Text = std::string;
// A counted byte sequence that may hold zero bytes (received data, file contents).
using Bytes = std::string;

// Byte-wise order by unsigned value, a prefix first: <0, 0 or >0.
int compare(std::string_view a, std::string_view b);
bool equals(std::string_view a, std::string_view b);

// The arguments' bytes one after the other.
Text join(std::initializer_list<std::string_view> parts);

// The bytes up to, not including, the first zero byte.
Text fromBytes(std::string_view bytes);
// The text's bytes, without a terminating zero.
Bytes toBytes(std::string_view text);

// The first `count` bytes (fewer when the text is shorter; empty when count <= 0).
// Characters are not respected: the cut may split a two-byte character.
Text left(std::string_view text, int count);

// Every occurrence of `search` replaced, left to right, never starting a match
// on the second byte of a two-byte character.
Text replaceAll(std::string_view text, std::string_view search, std::string_view replacement);

// Strips ASCII spaces and full-width spaces (A1 A1) from both ends.
Text trimSpaces(std::string_view text);

// Rewrites full-width forms (A3 A1..A3 FE, the full-width space, tilde and the
// stars) as their ASCII equivalents; the first step of reading a number.
Text foldFullWidth(std::string_view text);

}  // namespace text
