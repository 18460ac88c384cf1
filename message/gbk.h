// GBK at the widget boundary: the only place where a text becomes a QString.
//
// The component layer draws GBK bytes through toQString and turns what the
// user typed back into GBK through fromQString. Conversion goes through glibc
// iconv. A control that was given bytes keeps those bytes itself; these
// functions only decide what is drawn and what typing produces.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace gbk {

// Bytes that are not valid GBK are drawn as U+FFFD, one per byte that could not
// start a character.
QString toQString(std::string_view gbkBytes);

// A character GBK cannot hold becomes "?" (one per character, not per UTF-16 unit).
std::string fromQString(const QString& typed);

}  // namespace gbk
