// GBK <-> QString at the widget boundary.
//
// GBK bytes are written as escapes with the characters named beside them; a
// hex escape swallows every hex digit after it, so literals are split where an
// ASCII letter or digit follows one.
#include "gbk.h"

#include <QtTest>

#include <initializer_list>
#include <string>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

QByteArray typedToGbk(const QString& typed)
{
    return QByteArray::fromStdString(gbk::fromQString(typed));
}

// For texts holding lone surrogates or U+0000, which literals cannot spell.
QString fromUnits(std::initializer_list<char16_t> units)
{
    return QString::fromUtf16(units.begin(), qsizetype(units.size()));
}

}  // namespace

class TestGbk : public QObject {
    Q_OBJECT

private slots:
    void validTextRoundTrips_data();
    void validTextRoundTrips();
    void invalidBytesShowAsReplacement_data();
    void invalidBytesShowAsReplacement();
    void unencodableTypingBecomesQuestionMark_data();
    void unencodableTypingBecomesQuestionMark();
    void everyTwoByteCode();
    void literalsAreCompiledAsGbk();
};

void TestGbk::validTextRoundTrips_data()
{
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ASCII") << QByteArray("Round 3: Team A ~ 10 points!")
                           << QStringLiteral(u"Round 3: Team A ~ 10 points!");
    // 选 手
    QTest::newRow("contestant") << QByteArray("\xD1\xA1\xCA\xD6") << QStringLiteral(u"选手");
    // 优 先 抢 到 了 这 道 题 ！
    QTest::newRow("sentence") << QByteArray("\xD3\xC5\xCF\xC8\xC7\xC0\xB5\xBD\xC1\xCB\xD5\xE2\xB5\xC0\xCC\xE2\xA3\xA1")
                              << QStringLiteral(u"优先抢到了这道题！");
    // Ａ, full-width space, ！, ￣ (A3 FE is the full-width macron), ～ (A1 AB)
    QTest::newRow("full-width") << QByteArray("\xA3\xC1\xA1\xA1\xA3\xA1\xA3\xFE\xA1\xAB")
                                << QStringLiteral(u"Ａ　！￣～");
    // 第 1 题 CR LF 选 手 A CR LF
    QTest::newRow("mixed with CR LF") << QByteArray("\xB5\xDA" "1" "\xCC\xE2\r\n\xD1\xA1\xCA\xD6" "A\r\n")
                                      << QStringLiteral(u"第1题\r\n选手A\r\n");
    // 嶺 (second byte 'X') then S
    QTest::newRow("second byte is a letter") << QByteArray("\x8E\x58" "S") << QStringLiteral(u"嶺S");
    // 丂 (second byte '@'), 亐 (second byte 80), then A
    QTest::newRow("second byte @ and 80") << QByteArray("\x81\x40\x81\x80" "A") << QStringLiteral(u"丂亐A");
    // 﨩, the last pair of the table
    QTest::newRow("highest lead byte") << QByteArray("\xFE\x4F") << QStringLiteral(u"﨩");
    // à é ü ê: GBK carries the pinyin letters
    QTest::newRow("pinyin letters") << QByteArray("\xA8\xA4\xA8\xA6\xA8\xB9\xA8\xBA") << QStringLiteral(u"àéüê");
    // · — ￥ ℃ ①
    QTest::newRow("symbols") << QByteArray("\xA1\xA4\xA1\xAA\xA3\xA4\xA1\xE6\xA2\xD9") << QStringLiteral(u"·—￥℃①");
}

void TestGbk::validTextRoundTrips()
{
    QFETCH(QByteArray, gbk);
    QFETCH(QString, text);

    QCOMPARE(gbk::toQString(view(gbk)), text);
    QCOMPARE(typedToGbk(text), gbk);
}

void TestGbk::invalidBytesShowAsReplacement_data()
{
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QString>("shown");

    // 80 is the euro sign only in the CP936 extension; our texts never use it.
    QTest::newRow("lone 80") << QByteArray("a\x80" "b") << QStringLiteral(u"a\uFFFDb");
    QTest::newRow("80 at the end") << QByteArray("ab\x80") << QStringLiteral(u"ab\uFFFD");
    QTest::newRow("80 80") << QByteArray("\x80\x80") << QStringLiteral(u"\uFFFD\uFFFD");
    // 80, then 亐 whose second byte is 80, then A
    QTest::newRow("80 before a pair ending in 80") << QByteArray("\x80\x81\x80" "A") << QStringLiteral(u"\uFFFD亐A");
    QTest::newRow("FF") << QByteArray("a\xFF" "b") << QStringLiteral(u"a\uFFFDb");
    QTest::newRow("FF FF FF") << QByteArray("\xFF\xFF\xFF") << QStringLiteral(u"\uFFFD\uFFFD\uFFFD");
    QTest::newRow("lead byte then space") << QByteArray("a\x81 b") << QStringLiteral(u"a\uFFFD b");
    QTest::newRow("lead byte then CR LF") << QByteArray("\xD1\r\n") << QStringLiteral(u"\uFFFD\r\n");
    QTest::newRow("lead byte then 7F") << QByteArray("\x81\x7F") << QStringLiteral(u"\uFFFD\x7F");
    QTest::newRow("lead byte at the end") << QByteArray("ab\xD1") << QStringLiteral(u"ab\uFFFD");
    // 选, then the first byte of 手 alone
    QTest::newRow("cut after a character") << QByteArray("\xD1\xA1\xCA") << QStringLiteral(u"选\uFFFD");
    // AA D1 is an unmapped pair: only AA is dropped, and D1 A1 is 选
    QTest::newRow("resync into a character") << QByteArray("\xAA\xD1\xA1") << QStringLiteral(u"\uFFFD选");
    // AA A1 unmapped, A1 7A not a pair either, so the z survives
    QTest::newRow("resync into ASCII") << QByteArray("\xAA\xA1" "z") << QStringLiteral(u"\uFFFD\uFFFDz");
    // A1 80 is not a pair, so the 80 then stands alone
    QTest::newRow("bad pair ending in 80") << QByteArray("x\xA1\x80" "y") << QStringLiteral(u"x\uFFFD\uFFFDy");
    QTest::newRow("bad pair ending in 80 at the end") << QByteArray("\xA1\x80") << QStringLiteral(u"\uFFFD\uFFFD");
    // Texts hold no zero byte; one that slips in is shown, not cut at.
    QTest::newRow("zero byte") << QByteArray("a\0b", 3) << fromUnits({u'a', 0, u'b'});
    QTest::newRow("lead byte then zero byte") << QByteArray("\xD1\0" "A", 3) << fromUnits({0xFFFD, 0, u'A'});
}

void TestGbk::invalidBytesShowAsReplacement()
{
    QFETCH(QByteArray, gbk);
    QFETCH(QString, shown);

    QCOMPARE(gbk::toQString(view(gbk)), shown);
}

void TestGbk::unencodableTypingBecomesQuestionMark_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("gbk");

    QTest::newRow("emoji") << QStringLiteral(u"a😀b") << QByteArray("a?b");
    QTest::newRow("two emoji") << QStringLiteral(u"😀😀") << QByteArray("??");
    // 选 ? 手
    QTest::newRow("emoji between characters") << QStringLiteral(u"选😀手") << QByteArray("\xD1\xA1?\xCA\xD6");
    // glibc drops tag characters silently instead of refusing them.
    QTest::newRow("tag character") << QStringLiteral(u"a\U000E0041b") << QByteArray("a?b");
    QTest::newRow("lone high surrogate") << fromUnits({u'a', 0xD83D, u'b'}) << QByteArray("a?b");
    QTest::newRow("lone high surrogate at the end") << fromUnits({u'a', 0xD83D}) << QByteArray("a?");
    QTest::newRow("lone low surrogate") << fromUnits({u'a', 0xDE00, u'b'}) << QByteArray("a?b");
    QTest::newRow("reversed pair") << fromUnits({0xDE00, 0xD83D}) << QByteArray("??");
    QTest::newRow("high surrogate twice then low") << fromUnits({0xD83D, 0xD83D, 0xDE00}) << QByteArray("??");
    // GBK has no single-byte euro sign in our texts, and no pair for it.
    QTest::newRow("euro sign") << QStringLiteral(u"5€") << QByteArray("5?");
    QTest::newRow("yen sign") << QStringLiteral(u"¥") << QByteArray("?");
    QTest::newRow("bullet") << QStringLiteral(u"•x") << QByteArray("?x");
    QTest::newRow("n with tilde") << QStringLiteral(u"año") << QByteArray("a?o");
    QTest::newRow("C1 control") << QStringLiteral(u"\u0085") << QByteArray("?");
    QTest::newRow("replacement character") << QStringLiteral(u"\uFFFD") << QByteArray("?");
    QTest::newRow("zero kept") << fromUnits({u'a', 0, u'b'}) << QByteArray("a\0b", 3);
}

void TestGbk::unencodableTypingBecomesQuestionMark()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, gbk);

    QCOMPARE(typedToGbk(typed), gbk);
}

// Walks the whole lead/second byte grid: each mapped pair must be one character
// that types back to the same pair, each other pair must show as U+FFFD
// followed by whatever its second byte shows alone. Converting everything at
// once must agree with converting piece by piece, which exercises the bulk
// path across thousands of bad bytes and second bytes of 80.
void TestGbk::everyTwoByteCode()
{
    QByteArray all;
    QString expectedAll;
    QByteArray mappedOnly;
    QString mappedOnlyText;
    int mapped = 0;

    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int second = 0x40; second <= 0xFE; ++second) {
            if (second == 0x7F)
                continue;
            const QByteArray code = QByteArray(1, char(lead)) + char(second);
            const QString shown = gbk::toQString(view(code));
            if (shown.size() == 1 && shown != QChar::ReplacementCharacter) {
                ++mapped;
                QVERIFY2(!shown.at(0).isSurrogate(), code.toHex().constData());
                QCOMPARE(typedToGbk(shown), code);
                mappedOnly += code;
                mappedOnlyText += shown;
            } else {
                const QString secondAlone = gbk::toQString(view(QByteArray(1, char(second))));
                QCOMPARE(shown, QChar(QChar::ReplacementCharacter) + secondAlone);
            }
            // A newline after each pair keeps a bad pair's second byte from
            // pairing with the next code.
            all += code + '\n';
            expectedAll += shown + u'\n';
        }
    }
    // Guards against a converter that refuses everything: GBK maps over 21000 pairs.
    QVERIFY2(mapped > 21000, qPrintable(QString::number(mapped)));

    QCOMPARE(gbk::toQString(view(all)), expectedAll);
    QCOMPARE(gbk::toQString(view(mappedOnly)), mappedOnlyText);
    QCOMPARE(typedToGbk(mappedOnlyText), mappedOnly);
}

// The programs write their fixed texts as plain literals; the build must turn
// them into the GBK bytes that go on the wire.
void TestGbk::literalsAreCompiledAsGbk()
{
    QCOMPARE(std::string("信息："), std::string("\xD0\xC5\xCF\xA2\xA3\xBA"));
    const std::string announcement = " 优先抢到了这道题！";
    QCOMPARE(gbk::toQString(announcement), QStringLiteral(u" 优先抢到了这道题！"));
    QCOMPARE(gbk::fromQString(QStringLiteral(u"请注意!!")), std::string("请注意!!"));
}

QTEST_APPLESS_MAIN(TestGbk)
#include "tst_gbk.moc"
