#include "numbers.h"

#include "text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace text {

namespace {

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool isSpace(char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// Leading white space and an optional sign, as both readers take them.
std::size_t skipSpaceAndSign(std::string_view s, bool& negative)
{
    std::size_t pos = 0;
    while (pos < s.size() && isSpace(s[pos]))
        ++pos;
    negative = pos < s.size() && s[pos] == '-';
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        ++pos;
    return pos;
}

std::size_t skipDigits(std::string_view s, std::size_t pos)
{
    while (pos < s.size() && isDigit(s[pos]))
        ++pos;
    return pos;
}

// More significant digits than any double halfway point has (767); the rest
// only matters as "zero or not", kept as one sticky digit.
constexpr std::size_t kMaxDigits = 780;

// Beyond these decimal exponents every input overflows or underflows, so no
// digits need to be handed to the parser.
constexpr long long kOverflowExponent = 310;
constexpr long long kUnderflowExponent = -330;

}  // namespace

std::int32_t textToInteger(std::string_view input)
{
    const Text s = foldFullWidth(input);
    bool negative = false;
    std::size_t pos = skipSpaceAndSign(s, negative);
    // Stop growing just past the int32 range so long digit runs cannot overflow.
    constexpr long long cap = 2147483649LL;
    long long value = 0;
    for (; pos < s.size() && isDigit(s[pos]); ++pos) {
        if (value < cap)
            value = value * 10 + (s[pos] - '0');
        if (value > cap)
            value = cap;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

double textToNumber(std::string_view input)
{
    const Text s = foldFullWidth(input);
    bool negative = false;
    std::size_t pos = skipSpaceAndSign(s, negative);
    const std::size_t intBegin = pos;
    const std::size_t intEnd = skipDigits(s, intBegin);
    std::size_t fracBegin = intEnd;
    std::size_t fracEnd = intEnd;
    if (intEnd < s.size() && s[intEnd] == '.') {
        fracBegin = intEnd + 1;
        fracEnd = skipDigits(s, fracBegin);
    }
    if (intEnd == intBegin && fracEnd == fracBegin)
        return 0.0;

    // The exponent counts only when at least one digit follows its letter and sign.
    long long exponent = 0;
    pos = fracEnd;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::size_t p = pos + 1;
        bool expNegative = false;
        if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
            expNegative = s[p] == '-';
            ++p;
        }
        if (p < s.size() && isDigit(s[p])) {
            constexpr long long cap = 1'000'000'000'000'000LL;
            for (; p < s.size() && isDigit(s[p]); ++p) {
                if (exponent < cap)
                    exponent = exponent * 10 + (s[p] - '0');
            }
            if (expNegative)
                exponent = -exponent;
        }
    }

    // Rewrite the prefix as d.ddd...e<X> with X the power of ten of the first
    // significant digit; from_chars then rounds it exactly, with no locale.
    const std::string_view intDigits(s.data() + intBegin, intEnd - intBegin);
    const std::string_view fracDigits(s.data() + fracBegin, fracEnd - fracBegin);
    const std::size_t total = intDigits.size() + fracDigits.size();
    auto digitAt = [&](std::size_t i) {
        return i < intDigits.size() ? intDigits[i] : fracDigits[i - intDigits.size()];
    };
    std::size_t first = 0;
    while (first < total && digitAt(first) == '0')
        ++first;
    const double zero = negative ? -0.0 : 0.0;
    if (first == total)
        return zero;
    std::size_t last = total;
    while (digitAt(last - 1) == '0')
        --last;

    const long long decimalExponent =
        static_cast<long long>(intDigits.size()) - 1 - static_cast<long long>(first) + exponent;
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    if (decimalExponent > kOverflowExponent)
        return infinity;
    if (decimalExponent < kUnderflowExponent)
        return zero;

    std::string normal;
    normal.reserve(kMaxDigits + 32);
    if (negative)
        normal.push_back('-');
    normal.push_back(digitAt(first));
    if (last - first > 1) {
        normal.push_back('.');
        const std::size_t keepEnd = last - first > kMaxDigits ? first + kMaxDigits : last;
        for (std::size_t i = first + 1; i < keepEnd; ++i)
            normal.push_back(digitAt(i));
        if (keepEnd < last)
            normal.push_back('1');  // the dropped digits end in a non-zero one
    }
    normal.push_back('e');
    char expBuf[24];
    const auto expEnd = std::to_chars(expBuf, expBuf + sizeof expBuf, decimalExponent).ptr;
    normal.append(expBuf, expEnd);

    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return decimalExponent > 0 ? infinity : zero;
    return value;
}

std::string integerToText(std::int32_t value)
{
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

std::string numberToText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0.0)
        return "0";  // negative zero too

    // d.dddddddddddde±X: the value rounded to 13 significant digits, exactly.
    char buf[40];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 12).ptr;
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));
    const std::size_t ePos = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;  // the 13 significant digits
    digits.reserve(13);
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    }
    int exponent = 0;
    const char* expBegin = sci.data() + ePos + 1;
    if (*expBegin == '+')
        ++expBegin;
    std::from_chars(expBegin, sci.data() + sci.size(), exponent);

    std::size_t significant = digits.size();
    while (significant > 1 && digits[significant - 1] == '0')
        --significant;

    std::string out;
    out.reserve(32);
    if (negative)
        out.push_back('-');
    if (exponent >= -4 && exponent < 13) {
        if (exponent < 0) {
            out.append("0.");
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out.append(digits, 0, significant);
        } else {
            const auto intCount = static_cast<std::size_t>(exponent) + 1;
            out.append(digits, 0, intCount);
            if (significant > intCount) {
                out.push_back('.');
                out.append(digits, intCount, significant - intCount);
            }
        }
        return out;
    }

    out.push_back(digits[0]);
    if (significant > 1) {
        out.push_back('.');
        out.append(digits, 1, significant - 1);
    }
    out.push_back('e');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    char expBuf[8];
    const auto expEnd = std::to_chars(expBuf, expBuf + sizeof expBuf, magnitude).ptr;
    const auto expLen = static_cast<std::size_t>(expEnd - expBuf);
    if (expLen < 3)
        out.append(3 - expLen, '0');
    out.append(expBuf, expEnd);
    return out;
}

}  // namespace text
