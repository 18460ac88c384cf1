#include "wire.h"

namespace wire {

text::Text compose(std::string_view code, std::string_view payload)
{
    return text::join({code, payload});
}

Message split(std::string_view received)
{
    const text::Text whole = text::fromBytes(received);
    Message m;
    m.code = text::left(whole, 2);
    m.payload = text::replaceAll(whole, m.code, {});
    return m;
}

}  // namespace wire
