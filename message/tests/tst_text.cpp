// Byte-level text rules: comparison, joining, byte conversion, cutting,
// removing message codes, trimming and full-width folding.
#include "text.h"

#include "test_strings.h"

#include <QTest>

#include <climits>
#include <string>

// GBK byte strings used below (the source file itself is UTF-8).
#define XUANSHOU "\xD1\xA1\xCA\xD6"  // 选手
#define FW_SPACE "\xA1\xA1"          // full-width space

namespace {
std::string str(const QByteArray& b)
{
    return b.toStdString();  // keeps zero bytes: QByteArray knows its length
}
}  // namespace

class tst_Text : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void join();
    void fromBytes_data();
    void fromBytes();
    void toBytes();
    void left_data();
    void left();
    void replaceAll_data();
    void replaceAll();
    void trimSpaces_data();
    void trimSpaces();
    void foldFullWidth_data();
    void foldFullWidth();
};

void tst_Text::compare_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("order");

    QTest::newRow("same") << QByteArray("0") << QByteArray("0") << 0;
    QTest::newRow("both empty") << QByteArray() << QByteArray("") << 0;
    QTest::newRow("prefix first") << QByteArray("0") << QByteArray("00") << -1;
    QTest::newRow("empty before anything") << QByteArray() << QByteArray(" ") << -1;
    QTest::newRow("leading space counts") << QByteArray("0") << QByteArray(" 0") << 1;
    // A3 B0 is the full-width digit zero: no folding in comparison.
    QTest::newRow("full-width digit") << QByteArray("0") << QByteArray("\xA3\xB0") << -1;
    QTest::newRow("case sensitive") << QByteArray("XS") << QByteArray("xs") << -1;
    QTest::newRow("high bytes above ASCII") << QByteArray(XUANSHOU) << QByteArray("zz") << 1;
    QTest::newRow("high bytes unsigned order") << QByteArray("\x80") << QByteArray("\xFF") << -1;
    QTest::newRow("same GBK") << QByteArray(XUANSHOU "01") << QByteArray(XUANSHOU "01") << 0;
}

void tst_Text::compare()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, order);

    const std::string sa = str(a), sb = str(b);
    QCOMPARE(text::compare(sa, sb), order);
    QCOMPARE(text::compare(sb, sa), -order);
    QCOMPARE(text::equals(sa, sb), order == 0);
    QCOMPARE(text::equals(sb, sa), order == 0);
}

void tst_Text::join()
{
    QCOMPARE(text::join({}), std::string());
    QCOMPARE(text::join({"QD"}), std::string("QD"));
    QCOMPARE(text::join({"XS", XUANSHOU, "01"}), std::string("XS" XUANSHOU "01"));
    QCOMPARE(text::join({"", "a", std::string_view(), "", "b", ""}), std::string("ab"));
    // A lone lead byte at a seam is kept as it is; joining never looks inside.
    QCOMPARE(text::join({"\xD1", "\xA1"}), std::string("\xD1\xA1"));
}

void tst_Text::fromBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("no zero") << QByteArray("QD") << QByteArray("QD");
    QTest::newRow("cut at zero") << QByteArray("QD\0XS", 5) << QByteArray("QD");
    QTest::newRow("first zero wins") << QByteArray("a\0b\0c", 5) << QByteArray("a");
    QTest::newRow("zero first") << QByteArray("\0XS", 3) << QByteArray();
    QTest::newRow("zero last") << QByteArray("XS\0", 3) << QByteArray("XS");
    QTest::newRow("GBK and odd bytes kept") << QByteArray(XUANSHOU "\xFF\x80 \r\n") << QByteArray(XUANSHOU "\xFF\x80 \r\n");
    QTest::newRow("half character before zero") << QByteArray("\xD1\0\xA1", 3) << QByteArray("\xD1");
}

void tst_Text::fromBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::fromBytes(str(bytes)), str(expected));
}

void tst_Text::toBytes()
{
    QCOMPARE(text::toBytes(""), std::string());
    const std::string t = "XS" XUANSHOU "01";
    const std::string b = text::toBytes(t);
    QCOMPARE(b.size(), t.size());  // no terminating zero added
    QCOMPARE(b, t);
    QCOMPARE(text::fromBytes(b), t);
}

void tst_Text::left_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("code of a name report") << QByteArray("XS" XUANSHOU "01") << 2 << QByteArray("XS");
    QTest::newRow("exact length") << QByteArray("QD") << 2 << QByteArray("QD");
    QTest::newRow("shorter text") << QByteArray("Q") << 2 << QByteArray("Q");
    QTest::newRow("empty text") << QByteArray() << 2 << QByteArray();
    QTest::newRow("count 0") << QByteArray("QD") << 0 << QByteArray();
    QTest::newRow("count -1") << QByteArray("QD") << -1 << QByteArray();
    QTest::newRow("count INT_MIN") << QByteArray("QD") << INT_MIN << QByteArray();
    QTest::newRow("count INT_MAX") << QByteArray("QD") << INT_MAX << QByteArray("QD");
    QTest::newRow("first byte of a character") << QByteArray(XUANSHOU) << 1 << QByteArray("\xD1");
    QTest::newRow("inside the second character") << QByteArray(XUANSHOU) << 3 << QByteArray("\xD1\xA1\xCA");
}

void tst_Text::left()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::left(str(text), count), str(expected));
}

void tst_Text::replaceAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("search");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray none;
    QTest::newRow("code before a name") << QByteArray("XS" XUANSHOU "01") << QByteArray("XS") << none
                                        << QByteArray(XUANSHOU "01");
    QTest::newRow("whole text") << QByteArray("QD") << QByteArray("QD") << none << none;
    QTest::newRow("code repeated in the name") << QByteArray("XSXS1") << QByteArray("XS") << none << QByteArray("1");
    QTest::newRow("name XS007") << QByteArray("XSXS007") << QByteArray("XS") << none << QByteArray("007");
    QTest::newRow("inside and at the end") << QByteArray("aXSbXS") << QByteArray("XS") << none << QByteArray("ab");
    QTest::newRow("case sensitive") << QByteArray("xs1") << QByteArray("XS") << none << QByteArray("xs1");
    QTest::newRow("empty text") << none << QByteArray("XS") << none << none;
    QTest::newRow("empty search") << QByteArray("XS1") << none << QByteArray("z") << QByteArray("XS1");
    QTest::newRow("search longer than text") << QByteArray("X") << QByteArray("XS") << none << QByteArray("X");
    QTest::newRow("no overlap") << QByteArray("aaa") << QByteArray("aa") << none << QByteArray("a");
    QTest::newRow("replacement not searched again") << QByteArray("XXSS") << QByteArray("XS") << none
                                                    << QByteArray("XS");
    QTest::newRow("non-empty replacement") << QByteArray("aXSbXS") << QByteArray("XS") << QByteArray("--")
                                           << QByteArray("a--b--");
    QTest::newRow("match after a character") << QByteArray(XUANSHOU "XS1") << QByteArray("XS") << none
                                             << QByteArray(XUANSHOU "1");
    // 8E 58 is one character whose second byte is 'X'; the S after it is not
    // the end of a match.
    QTest::newRow("second byte is X") << QByteArray("\x8E\x58\x53") << QByteArray("XS") << none
                                      << QByteArray("\x8E\x58\x53");
    QTest::newRow("second byte is X, then a match") << QByteArray("\x8E\x58\x53XS") << QByteArray("XS") << none
                                                    << QByteArray("\x8E\x58\x53");
    // A lone lead byte as the last byte: dropped while a match could still
    // fit there, kept among the fewer-than-search-length leftover bytes.
    QTest::newRow("lone byte, one-byte search") << QByteArray("ab\xD1") << QByteArray("x") << none
                                                << QByteArray("ab");
    QTest::newRow("lone byte only, one-byte search") << QByteArray("\xD1") << QByteArray("x") << none << none;
    QTest::newRow("lone byte in the leftover") << QByteArray("XSa\xD1") << QByteArray("XS") << none
                                               << QByteArray("a\xD1");
    QTest::newRow("lone byte after a character") << QByteArray(XUANSHOU "\xD1") << QByteArray("Q") << none
                                                 << QByteArray(XUANSHOU);
}

void tst_Text::replaceAll()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, search);
    QFETCH(QByteArray, replacement);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::replaceAll(str(text), str(search), str(replacement)), str(expected));
}

void tst_Text::trimSpaces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ASCII spaces") << QByteArray("  192.168.1.2  ") << QByteArray("192.168.1.2");
    QTest::newRow("full-width spaces") << QByteArray(FW_SPACE "abc" FW_SPACE) << QByteArray("abc");
    QTest::newRow("mixed runs") << QByteArray(" " FW_SPACE " a b " FW_SPACE " ") << QByteArray("a b");
    QTest::newRow("control bytes kept") << QByteArray("\t1.2.3.4\r\n") << QByteArray("\t1.2.3.4\r\n");
    QTest::newRow("inner space kept") << QByteArray("a b") << QByteArray("a b");
    QTest::newRow("only spaces") << QByteArray("   ") << QByteArray();
    QTest::newRow("only full-width spaces") << QByteArray(FW_SPACE FW_SPACE) << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("GBK kept") << QByteArray(" " XUANSHOU " ") << QByteArray(XUANSHOU);
    // B0 20 is one character although its second byte is a space.
    QTest::newRow("space as a second byte") << QByteArray("a\xB0 ") << QByteArray("a\xB0 ");
    // B0 A1 is a character, then a lone A1: the lone byte goes, not "A1 A1".
    QTest::newRow("full-width space across characters") << QByteArray("\xB0\xA1\xA1") << QByteArray("\xB0\xA1");
    QTest::newRow("character then full-width space") << QByteArray("\xB0\xA1" FW_SPACE) << QByteArray("\xB0\xA1");
    QTest::newRow("lone byte at the end") << QByteArray(" abc\xD1") << QByteArray("abc");
    QTest::newRow("lone byte after spaces") << QByteArray("abc  \xD1") << QByteArray("abc  ");
    QTest::newRow("lone byte after full-width spaces") << QByteArray(FW_SPACE FW_SPACE "\xA1") << QByteArray();
    QTest::newRow("half of a full-width space") << QByteArray("a \xA1") << QByteArray("a ");
}

void tst_Text::trimSpaces()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::trimSpaces(str(text)), str(expected));
}

void tst_Text::foldFullWidth_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ASCII unchanged") << QByteArray(" -1.5e3 ~*") << QByteArray(" -1.5e3 ~*");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("full-width space") << QByteArray(FW_SPACE) << QByteArray(" ");
    QTest::newRow("full-width tilde A1 AB") << QByteArray("\xA1\xAB") << QByteArray("~");
    QTest::newRow("white star A1 EE") << QByteArray("\xA1\xEE") << QByteArray("*");
    QTest::newRow("black star A1 EF") << QByteArray("\xA1\xEF") << QByteArray("*");
    QTest::newRow("other A1 character") << QByteArray("\xA1\xA2") << QByteArray("\xA1\xA2");
    QTest::newRow("first of the range A3 A1") << QByteArray("\xA3\xA1") << QByteArray("!");
    QTest::newRow("last of the range A3 FE") << QByteArray("\xA3\xFE") << QByteArray("~");
    QTest::newRow("below the range A3 A0") << QByteArray("\xA3\xA0") << QByteArray("\xA3\xA0");
    QTest::newRow("above the range A3 FF") << QByteArray("\xA3\xFF") << QByteArray("\xA3\xFF");
    QTest::newRow("other lead A4 A1") << QByteArray("\xA4\xA1") << QByteArray("\xA4\xA1");
    // １２ ．５ －３ in full width.
    QTest::newRow("digits") << QByteArray("\xA3\xB1\xA3\xB2") << QByteArray("12");
    QTest::newRow("point and minus") << QByteArray("\xA3\xAD\xA3\xB3\xA3\xAE\xA3\xB5") << QByteArray("-3.5");
    QTest::newRow("letters") << QByteArray("\xA3\xC1\xA3\xE1") << QByteArray("Aa");
    QTest::newRow("other characters unchanged") << QByteArray(XUANSHOU "1") << QByteArray(XUANSHOU "1");
    QTest::newRow("lone byte at the end") << QByteArray("1\xA3") << QByteArray("1");
    QTest::newRow("lone byte only") << QByteArray("\xD1") << QByteArray();
    // B0 A3 is one character; the A3 in it does not start a full-width form.
    QTest::newRow("A3 as a second byte") << QByteArray("\xB0\xA3\xB1") << QByteArray("\xB0\xA3");
    QTest::newRow("mixed") << QByteArray("a\xA3\xB1" XUANSHOU FW_SPACE "\xA1\xEF") << QByteArray("a1" XUANSHOU " *");
}

void tst_Text::foldFullWidth()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);

    QCOMPARE(text::foldFullWidth(str(text)), str(expected));
}

QTEST_APPLESS_MAIN(tst_Text)
#include "tst_text.moc"
