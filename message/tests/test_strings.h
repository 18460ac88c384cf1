// Readable QCOMPARE failures for the byte strings the system passes around:
// printable ASCII as it is, every other byte as \xHH.
#pragma once

#include <QTest>

#include <string>
#include <vector>

namespace test_strings {
inline std::string escaped(const std::string& s)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + "\"";
}
}  // namespace test_strings

namespace QTest {
template <>
inline char* toString(const std::string& s)
{
    return qstrdup(test_strings::escaped(s).c_str());
}
template <>
inline char* toString(const std::vector<std::string>& v)
{
    std::string out = "{";
    for (size_t i = 0; i < v.size(); ++i)
        out += (i ? ", " : "") + test_strings::escaped(v[i]);
    return qstrdup((out + "}").c_str());
}
}  // namespace QTest
