#include "text.h"

#include <cstring>

namespace text {

namespace {

inline bool isHigh(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

inline bool isFullWidthSpace(std::string_view s, std::size_t pos)
{
    return pos + 1 < s.size() && static_cast<unsigned char>(s[pos]) == 0xA1
           && static_cast<unsigned char>(s[pos + 1]) == 0xA1;
}

}  // namespace

int compare(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    // memcmp orders by unsigned byte value, which is what GBK text needs.
    const int c = common ? std::memcmp(a.data(), b.data(), common) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equals(std::string_view a, std::string_view b)
{
    return a == b;
}

Text join(std::initializer_list<std::string_view> parts)
{
    std::size_t total = 0;
    for (std::string_view p : parts)
        total += p.size();
    Text out;
    out.reserve(total);
    for (std::string_view p : parts)
        out.append(p);
    return out;
}

Text fromBytes(std::string_view bytes)
{
    const std::size_t zero = bytes.find('\0');
    return Text(zero == std::string_view::npos ? bytes : bytes.substr(0, zero));
}

Bytes toBytes(std::string_view text)
{
    return Bytes(text);
}

Text left(std::string_view text, int count)
{
    if (count <= 0)
        return Text();
    return Text(text.substr(0, static_cast<std::size_t>(count)));
}

Text replaceAll(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (text.empty() || search.empty())
        return Text(text);

    const std::size_t n = text.size();
    const std::size_t len = search.size();
    Text out;
    out.reserve(n);
    std::size_t pos = 0;
    while (n - pos >= len) {
        if (text.compare(pos, len, search) == 0) {
            out.append(replacement);
            pos += len;
        } else if (isHigh(text[pos])) {
            if (pos + 1 == n)
                return out;  // half a character at the very end is dropped
            out.append(text.substr(pos, 2));
            pos += 2;
        } else {
            out.push_back(text[pos]);
            ++pos;
        }
    }
    out.append(text.substr(pos));
    return out;
}

Text trimSpaces(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        if (text[begin] == ' ')
            begin += 1;
        else if (isFullWidthSpace(text, begin))
            begin += 2;
        else
            break;
    }

    // Walk by characters so that a space byte inside a two-byte character
    // never counts as a space.
    const std::size_t n = text.size();
    std::size_t end = n;
    std::size_t runStart = n;  // start of the current run of spaces, n when none
    std::size_t pos = begin;
    while (pos < n) {
        if (text[pos] == ' ' || isFullWidthSpace(text, pos)) {
            if (runStart == n)
                runStart = pos;
            pos += text[pos] == ' ' ? 1 : 2;
        } else if (isHigh(text[pos]) && pos + 1 == n) {
            // Half a character at the end: cut it off, keep what precedes it.
            runStart = n;
            end = pos;
            break;
        } else {
            runStart = n;
            pos += isHigh(text[pos]) ? 2 : 1;
        }
    }
    if (runStart != n)
        end = runStart;
    return Text(text.substr(begin, end - begin));
}

Text foldFullWidth(std::string_view text)
{
    const std::size_t n = text.size();
    Text out;
    out.reserve(n);
    std::size_t pos = 0;
    while (pos < n) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            out.push_back(text[pos]);
            ++pos;
            continue;
        }
        if (pos + 1 == n)
            break;  // half a character at the end is dropped
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        if (lead == 0xA1 && trail == 0xA1)
            out.push_back(' ');
        else if (lead == 0xA1 && trail == 0xAB)
            out.push_back('~');
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out.push_back('*');
        else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out.push_back(static_cast<char>(trail - 0x80));
        else
            out.append(text.substr(pos, 2));
        pos += 2;
    }
    return out;
}

}  // namespace text
