// Edit box: exact bytes, the text-changed handler for program writes, appends
// and user edits, nesting of handlers, and the settings the forms use.
//
// Narrow literals are GBK (the build's execution charset); u"" literals are
// what the user sees and types. A hex escape swallows every hex digit after
// it, so literals are split where one follows.
#include "edit_box.h"

#include "geometry.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>

#include <memory>
#include <string>
#include <vector>

using ui::EditBox;
using Lines = EditBox::Lines;

Q_DECLARE_METATYPE(EditBox::Lines)

namespace {

std::string_view view(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }
QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

// A shown, active window holding one box; counts the box's handler and what
// the box read when it ran.
struct Fixture {
    explicit Fixture(Lines lines)
    {
        host.resize(400, 300);
        box = new EditBox(lines, "编辑框1", &host);
        ui::place(box, 10, 10, 300, 200);
        box->onTextChanged([this] {
            ++changes;
            seen.push_back(box->text());
        });
        host.show();
        host.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&host); }
    QString shown() const
    {
        if (auto* line = qobject_cast<QLineEdit*>(box->editor()))
            return line->text();
        return static_cast<QPlainTextEdit*>(box->editor())->toPlainText();
    }

    QWidget host;
    EditBox* box = nullptr;
    int changes = 0;
    std::vector<std::string> seen;
};

void addLinesRows()
{
    QTest::addColumn<Lines>("lines");
    QTest::newRow("single-line") << Lines::Single;
    QTest::newRow("multi-line") << Lines::Multi;
}

}  // namespace

class TestEditBox : public QObject {
    Q_OBJECT

private slots:
    void writeKeepsExactBytesAndRaisesOnce_data();
    void writeKeepsExactBytesAndRaisesOnce();
    void sameTextRaisesAgain_data() { addLinesRows(); }
    void sameTextRaisesAgain();
    void appendRaisesOncePerPiece_data() { addLinesRows(); }
    void appendRaisesOncePerPiece();
    void handlersNestInsideWrites();
    void handlerSeesValueChangedByNestedHandler();
    void userEditsRaiseAndReadAsGbk_data();
    void userEditsRaiseAndReadAsGbk();
    void lineBreaksInMultiLineBox();
    void lineBreaksInSingleLineBox();
    void undoKeepsAppendedText_data() { addLinesRows(); }
    void undoKeepsAppendedText();
    void appendAfterUserEditKeepsBoth_data() { addLinesRows(); }
    void appendAfterUserEditKeepsBoth();
    void readOnlyBoxRefusesTyping_data() { addLinesRows(); }
    void readOnlyBoxRefusesTyping();
    void noLengthLimit();
    void settingsReachTheEditor_data() { addLinesRows(); }
    void settingsReachTheEditor();
    void longLog();
};

void TestEditBox::writeKeepsExactBytesAndRaisesOnce_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QByteArray>("bytes");
    const struct {
        const char* name;
        QByteArray bytes;
    } texts[] = {
        {"Chinese", QByteArray("选手01")},
        {"lone 80 between ASCII", QByteArray("a\x80" "b")},
        {"lead byte at the end", QByteArray("ab\xD1")},
        {"lead byte before a digit", QByteArray("\x81" "0x")},
        {"FF FF", QByteArray("\xFF\xFF")},
        {"CR LF inside", QByteArray("192.168.1.20\r\n")},
        {"lone CR and LF", QByteArray("a\rb\nc")},
        {"empty", QByteArray()},
    };
    for (Lines lines : {Lines::Single, Lines::Multi}) {
        for (const auto& t : texts) {
            QTest::addRow("%s, %s", lines == Lines::Single ? "single" : "multi", t.name)
                << lines << t.bytes;
        }
    }
}

void TestEditBox::writeKeepsExactBytesAndRaisesOnce()
{
    QFETCH(Lines, lines);
    QFETCH(QByteArray, bytes);
    Fixture f(lines);
    f.box->setText(view(bytes));
    QCOMPARE(f.changes, 1);
    // The handler already reads the new text.
    QCOMPARE(bytesOf(f.seen.at(0)), bytes);
    QCOMPARE(bytesOf(f.box->text()), bytes);
}

void TestEditBox::sameTextRaisesAgain()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    f.box->setText("0");
    f.box->setText("0");
    QCOMPARE(f.changes, 2);
    QCOMPARE(f.seen.back(), std::string("0"));
    f.box->setText("");
    f.box->setText("");
    QCOMPARE(f.changes, 4);
}

void TestEditBox::appendRaisesOncePerPiece()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    f.box->append({"选手", "加入\r\n"});
    QCOMPARE(f.changes, 2);
    // Each handler sees its own piece in place.
    QCOMPARE(f.seen.at(0), std::string("选手"));
    QCOMPARE(f.seen.at(1), std::string("选手加入\r\n"));
    QCOMPARE(f.box->text(), std::string("选手加入\r\n"));

    f.box->append("");
    QCOMPARE(f.changes, 3);
    QCOMPARE(f.box->text(), std::string("选手加入\r\n"));

    // Bytes that are no GBK characters survive appending as they do writing.
    f.box->append("\xD1");
    QCOMPARE(f.box->text(), std::string("选手加入\r\n\xD1"));
}

void TestEditBox::handlersNestInsideWrites()
{
    QWidget host;
    auto* a = new EditBox(Lines::Single, "编辑框1", &host);
    auto* b = new EditBox(Lines::Multi, "编辑框2", &host);
    std::vector<std::string> order;
    a->onTextChanged([&] {
        order.push_back("A in");
        b->setText("x");
        b->append("y");
        order.push_back("A out");
    });
    b->onTextChanged([&] { order.push_back("B " + b->text()); });
    a->setText("1");
    const std::vector<std::string> expected{"A in", "B x", "B xy", "A out"};
    QCOMPARE(order, expected);
}

void TestEditBox::handlerSeesValueChangedByNestedHandler()
{
    // The arbitration pattern: a handler writes a count box, whose own
    // handler writes the notice box; the first handler then reads the notice.
    QWidget host;
    auto* trigger = new EditBox(Lines::Single, "编辑框1", &host);
    auto* count = new EditBox(Lines::Single, "人数标签", &host);
    auto* notice = new EditBox(Lines::Multi, "编辑框3", &host);
    count->setText("0");
    count->onTextChanged([&] {
        if (count->text() == "1")
            notice->setText("选手01 优先抢到了这道题！");
    });
    std::string read;
    trigger->onTextChanged([&] {
        count->setText("1");
        read = notice->text();
    });
    trigger->setText("QD");
    QCOMPARE(read, std::string("选手01 优先抢到了这道题！"));
}

void TestEditBox::userEditsRaiseAndReadAsGbk_data()
{
    // The box starts with "ab" and a lone lead byte, shown as U+FFFD; once
    // the user edits, the box reads what it shows, so that becomes "?".
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("changes");
    for (Lines lines : {Lines::Single, Lines::Multi}) {
        const char* kind = lines == Lines::Single ? "single" : "multi";
        QTest::addRow("%s, typing ASCII", kind) << lines << "type" << QByteArray("ab?xy") << 2;
        QTest::addRow("%s, typing Chinese", kind) << lines << "ime" << QByteArray("ab?选手") << 1;
        QTest::addRow("%s, deleting", kind) << lines << "backspace" << QByteArray("ab") << 1;
        QTest::addRow("%s, pasting", kind) << lines << "paste" << QByteArray("ab?粘贴") << 1;
    }
}

void TestEditBox::userEditsRaiseAndReadAsGbk()
{
    QFETCH(Lines, lines);
    QFETCH(QString, action);
    QFETCH(QByteArray, expected);
    QFETCH(int, changes);
    Fixture f(lines);
    QVERIFY(f.ready());
    f.box->setText("ab\xD1");
    f.box->setFocus();
    QVERIFY(f.box->editor()->hasFocus());
    f.changes = 0;
    QWidget* editor = f.box->editor();
    QTest::keyClick(editor, Qt::Key_End, lines == Lines::Multi ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(f.changes, 0);
    if (action == "type") {
        QTest::keyClicks(editor, "xy");
    } else if (action == "ime") {
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QStringLiteral(u"选手"), Qt::NoModifier);
    } else if (action == "backspace") {
        QTest::keyClick(editor, Qt::Key_Backspace);
    } else {
        QGuiApplication::clipboard()->setText(QStringLiteral(u"粘贴"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(f.changes, changes);
    QCOMPARE(bytesOf(f.seen.back()), expected);
    QCOMPARE(bytesOf(f.box->text()), expected);
}

void TestEditBox::lineBreaksInMultiLineBox()
{
    Fixture f(Lines::Multi);
    QVERIFY(f.ready());
    f.box->setText("a\r\nb");
    auto* edit = static_cast<QPlainTextEdit*>(f.box->editor());
    QCOMPARE(edit->toPlainText(), QStringLiteral(u"a\nb"));
    // A CR LF split between two pieces is one line break.
    f.box->append({"c\r", "\nd"});
    QCOMPARE(edit->document()->blockCount(), 3);
    QCOMPARE(edit->toPlainText(), QStringLiteral(u"a\nbc\nd"));
    QCOMPARE(f.box->text(), std::string("a\r\nbc\r\nd"));

    // After the user edits, line breaks read back as CR LF.
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "e");
    QCOMPARE(f.box->text(), std::string("a\r\nbc\r\nd\r\ne"));
}

void TestEditBox::lineBreaksInSingleLineBox()
{
    Fixture f(Lines::Single);
    QVERIFY(f.ready());
    f.box->setText("192.168.1.20\r\n");
    auto* line = static_cast<QLineEdit*>(f.box->editor());
    QVERIFY(!line->text().contains(QLatin1Char('\r')));
    QVERIFY(!line->text().contains(QLatin1Char('\n')));
    QVERIFY(line->text().startsWith(QStringLiteral(u"192.168.1.20")));
    QCOMPARE(f.box->text(), std::string("192.168.1.20\r\n"));
}

void TestEditBox::undoKeepsAppendedText()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    QVERIFY(f.ready());
    f.box->setFocus();
    QWidget* editor = f.box->editor();
    QTest::keyClicks(editor, "x");
    f.box->append("abc");
    f.box->append("def");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.box->text(), std::string("xabcdef"));
    QCOMPARE(f.shown(), QStringLiteral(u"xabcdef"));

    // Nor can the user take back a program write.
    f.box->setText("written");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.shown(), QStringLiteral(u"written"));
    QCOMPARE(f.box->text(), std::string("written"));
}

void TestEditBox::appendAfterUserEditKeepsBoth()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    QVERIFY(f.ready());
    f.box->setText("a\x80");
    f.box->setFocus();
    QTest::keyClick(f.box->editor(), Qt::Key_End,
                    lines == Lines::Multi ? Qt::ControlModifier : Qt::NoModifier);
    QTest::keyClicks(f.box->editor(), "b");
    f.box->append("\x80" "c");
    // What the user saw and edited reads as GBK; the appended bytes stay exact.
    QCOMPARE(f.box->text(), std::string("a?b\x80" "c"));
}

void TestEditBox::readOnlyBoxRefusesTyping()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    QVERIFY(f.ready());
    f.box->setReadOnly(true);
    QVERIFY(f.box->isReadOnly());
    f.box->setText("0");
    f.changes = 0;
    QWidget* editor = f.box->editor();
    QTest::keyClicks(editor, "12");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Delete);
    QGuiApplication::clipboard()->setText(QStringLiteral(u"9"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.changes, 0);
    QCOMPARE(f.box->text(), std::string("0"));
    QCOMPARE(f.shown(), QStringLiteral(u"0"));
    // The program still writes it.
    f.box->setText("1");
    QCOMPARE(f.changes, 1);
    QCOMPARE(f.box->text(), std::string("1"));
}

void TestEditBox::noLengthLimit()
{
    Fixture f(Lines::Single);
    const std::string longText(100000, 'x');
    f.box->setText(longText);
    QCOMPARE(f.shown().size(), qsizetype(longText.size()));
    f.box->setFocus();
    QTest::keyClick(f.box->editor(), Qt::Key_End);
    QTest::keyClicks(f.box->editor(), "y");
    QCOMPARE(f.box->text(), longText + "y");
}

void TestEditBox::settingsReachTheEditor()
{
    QFETCH(Lines, lines);
    Fixture f(lines);
    QVERIFY(f.ready());
    QWidget* editor = f.box->editor();
    QCOMPARE(editor->geometry(), f.box->rect());
    ui::place(f.box, 5, 5, 61, 48);
    QCOMPARE(editor->geometry(), QRect(0, 0, 61, 48));
    f.box->setFocus();
    QVERIFY(editor->hasFocus());

    auto* line = qobject_cast<QLineEdit*>(editor);
    auto* multi = qobject_cast<QPlainTextEdit*>(editor);
    QVERIFY(line ? line->hasFrame() : multi->frameShape() != QFrame::NoFrame);
    f.box->setBorder(false);
    QVERIFY(line ? !line->hasFrame() : multi->frameShape() == QFrame::NoFrame);

    f.box->setTextColor(QColor(255, 0, 0));
    QCOMPARE(editor->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(editor->palette().color(QPalette::Base) != editor->palette().color(QPalette::Window));
    f.box->setWindowBackground(true);
    QCOMPARE(editor->palette().color(QPalette::Base), editor->palette().color(QPalette::Window));
    f.box->setWindowBackground(false);
    QVERIFY(editor->palette().color(QPalette::Base) != editor->palette().color(QPalette::Window));

    f.box->setFontPixelHeight(48);
    QCOMPARE(editor->font().pixelSize(), 48);
    QCOMPARE(editor->font().weight(), QFont::Normal);

    if (multi) {
        f.box->setVerticalScrollBar(true);
        QCOMPARE(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

void TestEditBox::longLog()
{
    // A console's log gets a line for every message: every line arrives whole,
    // raises its own event, and the newest line stays in view. (How fast this
    // is, bench/log_append measures.)
    Fixture f(Lines::Multi);
    f.box->setVerticalScrollBar(true);
    f.box->onTextChanged([&f] { ++f.changes; });
    QVERIFY(f.ready());
    std::string expected;
    const int lines = 30000;
    for (int i = 0; i < lines; ++i) {
        const std::string line = "192.168.1." + std::to_string(i % 250) + ":5000 QD选手" + std::to_string(i) + "\r\n";
        f.box->append(line);
        expected += line;
    }
    QCOMPARE(f.changes, lines);
    QCOMPARE(f.box->text(), expected);
    auto* edit = static_cast<QPlainTextEdit*>(f.box->editor());
    QCOMPARE(edit->document()->blockCount(), lines + 1);
    QVERIFY(edit->viewport()->rect().contains(edit->cursorRect()));
    QVERIFY(edit->verticalScrollBar()->value() > 0);
}

QTEST_MAIN(TestEditBox)
#include "tst_edit_box.moc"
