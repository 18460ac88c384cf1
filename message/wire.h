/*
 * The wire protocol between a buzzer and the console.
 *
 *   connection := message*            one TCP connection per buzzer, port 6767
 *   message    := code payload        the bytes of one text, handed to one send
 *   code       := 2 ASCII capitals    XS NameReport   buzzer -> console  payload: name
 *                                     QD Buzz         buzzer -> console  (none)
 *                                     ST LockBuzzers  console -> all     (none)
 *                                     SD OpenBuzzers  console -> all     round notice or none
 *                                     MG PopupNotice  console -> all     notice text
 *                                     TZ BoardNotice  console -> all     notice text
 *   payload    := GBK text            may hold CR LF, never a zero byte
 *
 * There is no length, delimiter, terminator, reply or keep-alive. A receiver
 * takes whatever one read brought as one message: the text up to the first
 * zero byte; its first two bytes are the code; the payload is the text with
 * every occurrence of the code removed where it starts on a character
 * boundary. So two messages read together act as the first one only, and a
 * message read in two pieces acts as two.
 */
#pragma once

#include "text.h"

#include <string_view>

namespace wire {

inline constexpr int kPort = 6767;

inline constexpr std::string_view kNameReport = "XS";
inline constexpr std::string_view kBuzz = "QD";
inline constexpr std::string_view kLockBuzzers = "ST";
inline constexpr std::string_view kOpenBuzzers = "SD";
inline constexpr std::string_view kPopupNotice = "MG";
inline constexpr std::string_view kBoardNotice = "TZ";

struct Message {
    text::Text code;
    text::Text payload;
};

// The text one send carries: the code, then the payload.
text::Text compose(std::string_view code, std::string_view payload = {});

// Splits what one read brought into code and payload.
Message split(std::string_view received);

}  // namespace wire
