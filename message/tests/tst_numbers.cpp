// Reading counters from control texts and writing them back.
#include "numbers.h"

#include "test_strings.h"

#include <QTest>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string str(const QByteArray& b)
{
    return b.toStdString();
}

// Exact comparison, telling +0 from -0, with all digits in the message.
bool sameDouble(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

QByteArray describe(double actual, double expected)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "actual %.17g, expected %.17g", actual, expected);
    return QByteArray(buf);
}

#ifdef __GLIBC__
// glibc's "%.13g" with its exponent widened to three digits.
std::string printfReference(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.13g", value);
    std::string s = buf;
    const std::size_t e = s.find('e');
    if (e != std::string::npos) {
        const std::size_t digits = s.size() - (e + 2);
        if (digits < 3)
            s.insert(e + 2, 3 - digits, '0');
    }
    return s;
}
#endif

// Comma-decimal locales that may be installed; none is required.
const char* setCommaLocale()
{
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',')
            return name;
    }
    std::setlocale(LC_ALL, "C");
    return nullptr;
}
}  // namespace

class tst_Numbers : public QObject
{
    Q_OBJECT

private slots:
    void textToInteger_data();
    void textToInteger();
    void textToNumber_data();
    void textToNumber();
    void textToNumber_longInput();
    void textToNumber_againstStrtod();
    void integerToText_data();
    void integerToText();
    void numberToText_data();
    void numberToText();
    void numberToText_againstPrintf();
    void commaLocaleChangesNothing();
};

void tst_Numbers::textToInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("30") << QByteArray("30") << 30;
    QTest::newRow("leading space, trailing letters") << QByteArray(" 12abc") << 12;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
    QTest::newRow("minus") << QByteArray("-1") << -1;
    QTest::newRow("letters") << QByteArray("abc") << 0;
    QTest::newRow("no hexadecimal") << QByteArray("0x1A") << 0;
    QTest::newRow("point ends it") << QByteArray("3.99") << 3;
    QTest::newRow("no exponent") << QByteArray("1e3") << 1;
    QTest::newRow("leading zeros") << QByteArray("007") << 7;
    QTest::newRow("sign alone") << QByteArray("-") << 0;
    QTest::newRow("two signs") << QByteArray("+-5") << 0;
    QTest::newRow("space after sign") << QByteArray("- 5") << 0;
    QTest::newRow("control white space") << QByteArray("\t\r\n5") << 5;
    QTest::newRow("vertical tab and form feed") << QByteArray("\v\f5") << 5;
    // Full width: １２, then full-width space, minus and 3.
    QTest::newRow("full-width digits") << QByteArray("\xA3\xB1\xA3\xB2") << 12;
    QTest::newRow("full-width space, minus, digit") << QByteArray("\xA1\xA1\xA3\xAD\xA3\xB3") << -3;
    QTest::newRow("lone byte dropped before digits") << QByteArray("12\xA3") << 12;
    QTest::newRow("int32 max") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("int32 min") << QByteArray("-2147483648") << INT32_MIN;
    QTest::newRow("above max") << QByteArray("2147483648") << 2147483647;
    QTest::newRow("below min") << QByteArray("-2147483649") << INT32_MIN;
    QTest::newRow("above int64") << QByteArray("99999999999999999999") << 2147483647;
    QTest::newRow("huge positive") << QByteArray(10000, '9') << 2147483647;
    QTest::newRow("huge negative") << (QByteArray("-") + QByteArray(10000, '9')) << INT32_MIN;
    QTest::newRow("many leading zeros") << (QByteArray(10000, '0') + "42") << 42;
}

void tst_Numbers::textToInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);

    QCOMPARE(text::textToInteger(str(text)), expected);
}

void tst_Numbers::textToNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QByteArray() << 0.0;
    QTest::newRow("1") << QByteArray("1") << 1.0;
    QTest::newRow("2.5") << QByteArray("2.5") << 2.5;
    QTest::newRow("point first") << QByteArray(".5") << 0.5;
    QTest::newRow("point last") << QByteArray("5.") << 5.0;
    QTest::newRow("minus point first") << QByteArray("-.5") << -0.5;
    QTest::newRow("plus") << QByteArray("+3") << 3.0;
    QTest::newRow("e exponent") << QByteArray("1e3") << 1000.0;
    QTest::newRow("E exponent") << QByteArray("1E3") << 1000.0;
    QTest::newRow("D exponent") << QByteArray("1D3") << 1000.0;
    QTest::newRow("d exponent, negative") << QByteArray("1d-2") << 0.01;
    QTest::newRow("exponent with plus") << QByteArray("2.5e+2") << 250.0;
    QTest::newRow("exponent after point") << QByteArray("5.e1") << 50.0;
    QTest::newRow("exponent without digits") << QByteArray("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << QByteArray("1e+") << 1.0;
    QTest::newRow("exponent letter then text") << QByteArray("7dx") << 7.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("point alone") << QByteArray(".") << 0.0;
    QTest::newRow("sign and point") << QByteArray("-.") << 0.0;
    QTest::newRow("point and exponent only") << QByteArray(".e5") << 0.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("no hexadecimal") << QByteArray("0x1A") << 0.0;
    QTest::newRow("no infinity word") << QByteArray("inf") << 0.0;
    QTest::newRow("no nan word") << QByteArray("nan") << 0.0;
    QTest::newRow("comma is not a point") << QByteArray("1,5") << 1.0;
    QTest::newRow("second point ends it") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("trailing text") << QByteArray("29 rounds") << 29.0;
    QTest::newRow("minus zero") << QByteArray("-0") << -0.0;
    QTest::newRow("control white space") << QByteArray("\t\r\n-4") << -4.0;
    // １．５ in full width, and full-width space, minus and 3.
    QTest::newRow("full-width 1.5") << QByteArray("\xA3\xB1\xA3\xAE\xA3\xB5") << 1.5;
    QTest::newRow("full-width space, minus, digit") << QByteArray("\xA1\xA1\xA3\xAD\xA3\xB3") << -3.0;
    QTest::newRow("full-width exponent letter") << QByteArray("2\xA3\xC5\x32") << 200.0;
    QTest::newRow("0.1") << QByteArray("0.1") << 0.1;
    QTest::newRow("many digits") << QByteArray("3.14159265358979323846264338327950288") << 3.14159265358979323846;
    QTest::newRow("2^53 + 1 rounds to even") << QByteArray("9007199254740993") << 9007199254740992.0;
    QTest::newRow("largest") << QByteArray("1.7976931348623157e308") << 1.7976931348623157e308;
    QTest::newRow("1e308") << QByteArray("1e308") << 1e308;
    QTest::newRow("overflow") << QByteArray("1e400") << kInf;
    QTest::newRow("overflow just past the largest") << QByteArray("1.8e308") << kInf;
    QTest::newRow("negative overflow") << QByteArray("-1e400") << -kInf;
    QTest::newRow("denormal") << QByteArray("1e-320") << 1e-320;
    QTest::newRow("smallest denormal") << QByteArray("4.9406564584124654e-324") << 4.9406564584124654e-324;
    QTest::newRow("rounds up to smallest denormal") << QByteArray("3e-324") << 4.9406564584124654e-324;
    QTest::newRow("underflow") << QByteArray("1e-400") << 0.0;
    QTest::newRow("negative underflow") << QByteArray("-1e-400") << -0.0;
    QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999999") << kInf;
    QTest::newRow("huge negative exponent") << QByteArray("1e-99999999999999999999999") << 0.0;
    QTest::newRow("zero with huge exponent") << QByteArray("0e99999999999") << 0.0;
    QTest::newRow("leading zeros with exponent") << QByteArray("0000.00012e4") << 1.2;
}

void tst_Numbers::textToNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);

    const double actual = text::textToNumber(str(text));
    QVERIFY2(sameDouble(actual, expected), describe(actual, expected).constData());
}

void tst_Numbers::textToNumber_longInput()
{
    const auto check = [](const std::string& s, double expected) {
        const double actual = text::textToNumber(s);
        QVERIFY2(sameDouble(actual, expected), describe(actual, expected).constData());
    };
    constexpr int n = 1'000'000;
    check(std::string(n, '9'), kInf);
    check("0." + std::string(n, '0') + "1", 0.0);
    check(std::string(n, '0') + "25", 25.0);
    // Leading zeros after the point balanced by the exponent.
    check("0." + std::string(1000, '0') + "15e1001", 1.5);
    check(std::string(400, '1') + "e-399", 1.1111111111111111);
    // Halfway between two doubles except for a 1 far beyond the 17th digit:
    // it must round up, so no digit may be lost.
    check("9007199254740993." + std::string(5000, '0') + "1", 9007199254740994.0);
    check("9007199254740993." + std::string(5000, '0'), 9007199254740992.0);
}

void tst_Numbers::textToNumber_againstStrtod()
{
#ifdef __GLIBC__
    std::setlocale(LC_ALL, "C");
    std::mt19937_64 rng(20240611);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s.push_back(static_cast<char>('0' + pick(10)));
        return s;
    };
    for (int i = 0; i < 50000; ++i) {
        std::string number;
        if (pick(3) == 0)
            number += pick(2) ? '-' : '+';
        const std::string intPart = digits(pick(4) == 0 ? 0 : 1 + pick(25));
        number += intPart;
        std::string fracPart;
        if (pick(2)) {
            fracPart = digits(pick(25));
            number += '.' + fracPart;
        }
        if (intPart.empty() && fracPart.empty())
            continue;
        std::string reference = number;
        if (pick(2)) {
            const char letter = "eEdD"[pick(4)];
            std::string exponent;
            if (pick(3) == 0)
                exponent += pick(2) ? '-' : '+';
            exponent += digits(1 + pick(3));
            number += letter + exponent;
            reference += 'e' + exponent;
        }
        const double expected = std::strtod(reference.c_str(), nullptr);
        const double actual = text::textToNumber(number + "x");
        if (!sameDouble(actual, expected))
            QFAIL(qPrintable(QString::fromStdString(number) + ": " + describe(actual, expected)));
    }
#else
    QSKIP("glibc's strtod is the reference");
#endif
}

void tst_Numbers::integerToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("0") << 0 << QByteArray("0");
    QTest::newRow("1") << 1 << QByteArray("1");
    QTest::newRow("-5") << -5 << QByteArray("-5");
    QTest::newRow("1000") << 1000 << QByteArray("1000");
    QTest::newRow("max") << INT32_MAX << QByteArray("2147483647");
    QTest::newRow("min") << INT32_MIN << QByteArray("-2147483648");
}

void tst_Numbers::integerToText()
{
    QFETCH(int, value);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::integerToText(value), str(expected));
}

void tst_Numbers::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("2") << 2.0 << QByteArray("2");
    QTest::newRow("-1") << -1.0 << QByteArray("-1");
    QTest::newRow("29") << 29.0 << QByteArray("29");
    QTest::newRow("zero") << 0.0 << QByteArray("0");
    QTest::newRow("negative zero") << -0.0 << QByteArray("0");
    QTest::newRow("0.5") << 0.5 << QByteArray("0.5");
    QTest::newRow("0.1") << 0.1 << QByteArray("0.1");
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << QByteArray("0.3");
    QTest::newRow("1/3") << 1.0 / 3.0 << QByteArray("0.3333333333333");
    QTest::newRow("-2/3") << -2.0 / 3.0 << QByteArray("-0.6666666666667");
    QTest::newRow("13 digits") << 1234567890123.0 << QByteArray("1234567890123");
    QTest::newRow("13 digits, tie to even") << 1234567890123.5 << QByteArray("1234567890124");
    QTest::newRow("12 digits and a half") << 123456789012.5 << QByteArray("123456789012.5");
    QTest::newRow("1e13") << 1e13 << QByteArray("1e+013");
    QTest::newRow("rounds up to 1e13") << 9999999999999.5 << QByteArray("1e+013");
    QTest::newRow("just below 1e13") << 9999999999999.0 << QByteArray("9999999999999");
    QTest::newRow("rounds up to 1e12") << 999999999999.99995 << QByteArray("1000000000000");
    QTest::newRow("0.0001") << 0.0001 << QByteArray("0.0001");
    QTest::newRow("rounds up to 0.0001") << 0.0000999999999999996 << QByteArray("0.0001");
    QTest::newRow("just below 0.0001") << 0.00009999999999999 << QByteArray("9.999999999999e-005");
    QTest::newRow("0.00001") << 0.00001 << QByteArray("1e-005");
    QTest::newRow("-0.00001") << -0.00001 << QByteArray("-1e-005");
    QTest::newRow("0.00012345") << 0.00012345 << QByteArray("0.00012345");
    QTest::newRow("15 digits") << 123456789012345.0 << QByteArray("1.234567890123e+014");
    QTest::newRow("-15 digits") << -123456789012345.0 << QByteArray("-1.234567890123e+014");
    QTest::newRow("int32 min") << -2147483648.0 << QByteArray("-2147483648");
    QTest::newRow("1e100") << 1e100 << QByteArray("1e+100");
    QTest::newRow("1e308") << 1e308 << QByteArray("1e+308");
    QTest::newRow("largest") << std::numeric_limits<double>::max() << QByteArray("1.797693134862e+308");
    QTest::newRow("1e-300") << 1e-300 << QByteArray("1e-300");
    QTest::newRow("denormal") << 1e-320 << QByteArray("9.999888671827e-321");
    QTest::newRow("smallest denormal") << std::numeric_limits<double>::denorm_min() << QByteArray("4.940656458412e-324");
    QTest::newRow("infinity") << kInf << QByteArray("inf");
    QTest::newRow("negative infinity") << -kInf << QByteArray("-inf");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << QByteArray("nan");
    QTest::newRow("negative nan") << -std::numeric_limits<double>::quiet_NaN() << QByteArray("nan");
}

void tst_Numbers::numberToText()
{
    QFETCH(double, value);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::numberToText(value), str(expected));
}

void tst_Numbers::numberToText_againstPrintf()
{
#ifdef __GLIBC__
    std::setlocale(LC_ALL, "C");
    std::mt19937_64 rng(7);
    const auto check = [](double v) {
        if (v == 0.0 || !std::isfinite(v))
            return true;
        return text::numberToText(v) == printfReference(v);
    };
    const auto fail = [](double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g: ", v);
        QFAIL(qPrintable(QString::fromLatin1(buf) + QString::fromStdString(text::numberToText(v)) + " vs "
                         + QString::fromStdString(printfReference(v))));
    };

    // Every bit pattern is equally likely: all exponents, denormals included.
    for (int i = 0; i < 100000; ++i) {
        const double v = std::bit_cast<double>(static_cast<std::uint64_t>(rng()));
        if (!check(v))
            return fail(v);
    }
    // Values at the 13-digit rounding boundary and one step either side, where
    // a double-rounding mistake would show.
    for (int i = 0; i < 50000; ++i) {
        const std::string mantissa = std::to_string(1000000000000ULL + rng() % 9000000000000ULL) + "5";
        const int exponent = static_cast<int>(rng() % 40) - 25;
        const double mid = std::strtod((mantissa + "e" + std::to_string(exponent)).c_str(), nullptr);
        for (double v : {mid, std::nextafter(mid, 0.0), std::nextafter(mid, kInf), -mid}) {
            if (!check(v))
                return fail(v);
        }
    }
    // Small whole numbers and simple fractions: what counters actually hold.
    for (int i = -20000; i <= 20000; ++i) {
        for (double v : {double(i), i / 10.0, i / 3.0, i * 1e9, i * 1e-7}) {
            if (!check(v))
                return fail(v);
        }
    }
#else
    QSKIP("glibc's printf is the reference");
#endif
}

void tst_Numbers::commaLocaleChangesNothing()
{
    const char* name = setCommaLocale();
    if (!name)
        QSKIP("no comma-decimal locale installed");
    const double parsed = text::textToNumber("1.5");
    const std::string written = text::numberToText(2.25);
    const std::string writtenExp = text::numberToText(1.5e-7);
    const double parsedFullWidth = text::textToNumber("\xA3\xB1\xA3\xAE\xA3\xB5");  // １．５
    std::setlocale(LC_ALL, "C");

    QCOMPARE(parsed, 1.5);
    QCOMPARE(parsedFullWidth, 1.5);
    QCOMPARE(written, std::string("2.25"));
    QCOMPARE(writtenExp, std::string("1.5e-007"));
}

QTEST_APPLESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
