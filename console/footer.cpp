#include "footer.h"

#include "numbers.h"

namespace console {
namespace {
// More than this would not fit on the line; the first ones are the usual LAN
// interfaces.
constexpr std::size_t kMaxAddressesShown = 4;
}  // namespace

text::Text footerText(const std::vector<std::string>& addresses, int port,
                      std::string_view guidePath)
{
    text::Text shown;
    for (std::size_t i = 0; i < addresses.size() && i < kMaxAddressesShown; ++i)
        shown = text::join({shown, i ? "  " : "", addresses[i]});
    if (shown.empty())
        shown = "(未连接网络)";
    return text::join({"本机地址: ", shown, "  端口: ", text::integerToText(port),
                       "  (选手的ip.txt里写本机地址)\r\n使用说明: ", guidePath});
}

}  // namespace console
