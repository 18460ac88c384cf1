// Message boxes: buttons, icons, default buttons and Chinese captions per
// flags; the result code of each button; how each kind of box closes (a
// Yes/No box only through Yes or No); mnemonic keys; events handled while a
// box is open; nested boxes; and the answerer seam the programs' tests use.
// Real boxes are answered from a timer that finds the open box.
#include "message_box.h"

#include "../../tests/test_strings.h"
#include "timer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace {

using BoxAction = std::function<void(QMessageBox*)>;

// Lives for one test function: the timers below die with it, so a failed
// test leaves nothing behind that refers to its locals.
QObject* testScope = nullptr;
// Boxes that were still open long after their test acted on them.
int stuckBoxes = 0;

// Runs `act` on the open message box (the topmost one, whose text is `text`
// when given) as soon as it shows; keeps looking for a few seconds. A box
// still open 3 seconds after `act` is ended with its first button and counted
// as stuck, so a box that ignores its answer fails the test instead of
// hanging it.
void onBox(BoxAction act, QString text = {}, int triesLeft = 300)
{
    QTimer::singleShot(triesLeft == 300 ? 0 : 10, testScope, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && (text.isNull() || box->text() == text)) {
            act(box);
            QTimer::singleShot(3000, box, [box] {
                if (box->isVisible() && !box->buttons().isEmpty()) {
                    ++stuckBoxes;
                    box->buttons().first()->click();
                }
            });
        } else if (triesLeft > 0) {
            onBox(act, text, triesLeft - 1);
        } else {
            qWarning("no message box showed");
        }
    });
}

QAbstractButton* buttonCaptioned(QMessageBox* box, const QString& caption)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == caption)
            return b;
    return nullptr;
}

void press(QMessageBox* box, const QString& caption)
{
    QAbstractButton* b = buttonCaptioned(box, caption);
    QVERIFY2(b, qPrintable(QStringLiteral("no button ") + caption));
    QTest::mouseClick(b, Qt::LeftButton);
}

QStringList captions(QMessageBox* box)
{
    QStringList out;
    for (QAbstractButton* b : box->buttons())
        out << b->text();
    return out;
}

const QString kOkText = QStringLiteral(u"确定");
const QString kCancelText = QStringLiteral(u"取消");
const QString kAbortText = QStringLiteral(u"中止(&A)");
const QString kRetryText = QStringLiteral(u"重试(&R)");
const QString kIgnoreText = QStringLiteral(u"忽略(&I)");
const QString kYesText = QStringLiteral(u"是(&Y)");
const QString kNoText = QStringLiteral(u"否(&N)");

}  // namespace

class tst_MessageBox : public QObject
{
    Q_OBJECT

public:
    int resultWithoutApplication = -1;

private slots:
    void init();
    void cleanup();

    void buttons_data();
    void buttons();
    void titleAndText();
    void closeWithoutButton_data();
    void closeWithoutButton();
    void yesNoOnlyEndsWithYesOrNo_data();
    void yesNoOnlyEndsWithYesOrNo();
    void keys_data();
    void keys();
    void eventsRunWhileOpen();
    void nestedBoxReturnsFirst();
    void answererSeesRequest();
    void answererResults_data();
    void answererResults();
    void noApplication();
};

void tst_MessageBox::init()
{
    testScope = new QObject;
    stuckBoxes = 0;
}

void tst_MessageBox::cleanup()
{
    delete testScope;
    testScope = nullptr;
    ui::installBoxAnswerer({});
    QCOMPARE(stuckBoxes, 0);
}

void tst_MessageBox::buttons_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<int>("result");

    const QStringList ok{kOkText};
    const QStringList okCancel{kOkText, kCancelText};
    const QStringList ari{kAbortText, kRetryText, kIgnoreText};
    const QStringList ync{kYesText, kNoText, kCancelText};
    const QStringList yn{kYesText, kNoText};
    const QStringList rc{kRetryText, kCancelText};
    const int none = QMessageBox::NoIcon;

    QTest::newRow("0 OK") << 0 << ok << none << kOkText << kOkText << 0;
    QTest::newRow("16 stop OK") << 16 << ok << int(QMessageBox::Critical) << kOkText << kOkText
                                << 0;
    QTest::newRow("32 question OK") << 32 << ok << int(QMessageBox::Question) << kOkText
                                    << kOkText << 0;
    QTest::newRow("48 warning OK") << 48 << ok << int(QMessageBox::Warning) << kOkText << kOkText
                                   << 0;
    QTest::newRow("64 information OK") << 64 << ok << int(QMessageBox::Information) << kOkText
                                       << kOkText << 0;
    QTest::newRow("1 OK") << 1 << okCancel << none << kOkText << kOkText << 0;
    QTest::newRow("1 Cancel") << 1 << okCancel << none << kOkText << kCancelText << 1;
    QTest::newRow("2 Abort") << 2 << ari << none << kAbortText << kAbortText << 2;
    QTest::newRow("2 Retry") << 2 << ari << none << kAbortText << kRetryText << 3;
    QTest::newRow("2 Ignore") << 2 << ari << none << kAbortText << kIgnoreText << 4;
    QTest::newRow("3 Yes") << 3 << ync << none << kYesText << kYesText << 5;
    QTest::newRow("3 No") << 3 << ync << none << kYesText << kNoText << 6;
    QTest::newRow("3 Cancel") << 3 << ync << none << kYesText << kCancelText << 1;
    QTest::newRow("4 Yes") << 4 << yn << none << kYesText << kYesText << 5;
    QTest::newRow("4 No") << 4 << yn << none << kYesText << kNoText << 6;
    QTest::newRow("5 Retry") << 5 << rc << none << kRetryText << kRetryText << 3;
    QTest::newRow("5 Cancel") << 5 << rc << none << kRetryText << kCancelText << 1;
    QTest::newRow("4+16 Yes") << 4 + 16 << yn << int(QMessageBox::Critical) << kYesText
                              << kYesText << 5;
    QTest::newRow("4+256 second default") << 4 + 256 << yn << none << kNoText << kNoText << 6;
    QTest::newRow("3+512 third default") << 3 + 512 << ync << none << kCancelText << kYesText
                                         << 5;
    QTest::newRow("0+256 no second button") << 256 << ok << none << kOkText << kOkText << 0;
    QTest::newRow("4096 system modal") << 4096 + 64 << ok << int(QMessageBox::Information)
                                       << kOkText << kOkText << 0;
}

void tst_MessageBox::buttons()
{
    QFETCH(int, flags);
    QFETCH(QStringList, captions);
    QFETCH(int, icon);
    QFETCH(QString, defaultButton);
    QFETCH(QString, pressed);
    QFETCH(int, result);

    QStringList seenCaptions;
    int seenIcon = -1;
    QString seenDefault;
    bool appModal = false;
    bool parentless = false;
    onBox([&](QMessageBox* box) {
        seenCaptions = ::captions(box);
        seenIcon = box->icon();
        seenDefault = box->defaultButton() ? box->defaultButton()->text() : QString();
        appModal = box->windowModality() == Qt::ApplicationModal;
        parentless = box->parentWidget() == nullptr;
        press(box, pressed);
    });
    QCOMPARE(ui::messageBox("text", flags), result);
    QCOMPARE(seenCaptions, captions);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenDefault, defaultButton);
    QVERIFY(appModal);
    QVERIFY(parentless);
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_MessageBox::titleAndText()
{
    QCOMPARE(std::string(ui::kDefaultBoxTitle), std::string("\xD0\xC5\xCF\xA2\xA3\xBA"));

    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    onBox([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        press(box, kOkText);
    });
    QCOMPARE(ui::messageBox("选手 <b>01</b>\r\n优先抢到了这道题！", 0), 0);
    QCOMPARE(title, u"信息："_qs);
    QCOMPARE(text, u"选手 <b>01</b>\n优先抢到了这道题！"_qs);
    QCOMPARE(format, Qt::PlainText);

    onBox([&](QMessageBox* box) {
        title = box->windowTitle();
        press(box, kYesText);
    });
    QCOMPARE(ui::messageBox("确定要关闭吗?如果有选手连接会掉线的~", 4, "提示"), 5);
    QCOMPARE(title, u"提示"_qs);
}

void tst_MessageBox::closeWithoutButton_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("escape");  // else the close box
    QTest::addColumn<int>("result");

    QTest::newRow("OK, Esc") << 0 << true << 0;
    QTest::newRow("OK, close") << 0 << false << 0;
    QTest::newRow("stop OK, Esc") << 16 << true << 0;
    QTest::newRow("information OK, close") << 64 << false << 0;
    QTest::newRow("OK/Cancel, Esc") << 1 << true << 1;
    QTest::newRow("Yes/No/Cancel, close") << 3 << false << 1;
    QTest::newRow("Yes/No/Cancel, Esc") << 3 << true << 1;
    QTest::newRow("Retry/Cancel, close") << 5 << false << 1;
}

void tst_MessageBox::closeWithoutButton()
{
    QFETCH(int, flags);
    QFETCH(bool, escape);
    QFETCH(int, result);
    onBox([&](QMessageBox* box) {
        if (escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
    });
    QCOMPARE(ui::messageBox("text", flags), result);
}

void tst_MessageBox::yesNoOnlyEndsWithYesOrNo_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::newRow("Yes/No") << 4 << kNoText << 6;
    QTest::newRow("Yes/No with stop icon") << 4 + 16 << kYesText << 5;
    QTest::newRow("Abort/Retry/Ignore") << 2 << kIgnoreText << 4;
}

// Esc, the close box and even code that ends or hides the dialog leave the
// question open until it is answered.
void tst_MessageBox::yesNoOnlyEndsWithYesOrNo()
{
    QFETCH(int, flags);
    QFETCH(QString, answer);
    QFETCH(int, result);

    bool openAfterEscape = false, openAfterClose = false;
    int shows = 0;
    onBox([&](QMessageBox* box) {
        ++shows;
        QTest::keyClick(box, Qt::Key_Escape);
        QCoreApplication::processEvents();
        openAfterEscape = box->isVisible();
        box->close();
        QCoreApplication::processEvents();
        openAfterClose = box->isVisible();
        box->reject();  // hides it: it must come back
        onBox([&](QMessageBox* again) {
            ++shows;
            press(again, answer);
        });
    });
    QCOMPARE(ui::messageBox("确定要退出吗？", flags), result);
    QVERIFY(openAfterEscape);
    QVERIFY(openAfterClose);
    QCOMPARE(shows, 2);
}

void tst_MessageBox::keys_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("result");

    const int none = Qt::NoModifier;
    QTest::newRow("Y") << 4 << int(Qt::Key_Y) << none << 5;
    QTest::newRow("N") << 4 << int(Qt::Key_N) << none << 6;
    QTest::newRow("Alt+Y") << 4 << int(Qt::Key_Y) << int(Qt::AltModifier) << 5;
    QTest::newRow("Alt+N") << 4 << int(Qt::Key_N) << int(Qt::AltModifier) << 6;
    QTest::newRow("N on Yes/No/Cancel") << 3 << int(Qt::Key_N) << none << 6;
    QTest::newRow("R on Abort/Retry/Ignore") << 2 << int(Qt::Key_R) << none << 3;
    QTest::newRow("Enter: default Yes") << 4 << int(Qt::Key_Return) << none << 5;
    QTest::newRow("Enter: default No") << 4 + 256 << int(Qt::Key_Return) << none << 6;
    QTest::newRow("Enter on OK") << 64 << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 0;
}

void tst_MessageBox::keys()
{
    QFETCH(int, flags);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, result);
    onBox([&](QMessageBox* box) {
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    });
    QCOMPARE(ui::messageBox("text", flags), result);
}

// A queued call and a timer tick that come while the box is open are handled
// before messageBox() returns.
void tst_MessageBox::eventsRunWhileOpen()
{
    bool queuedRan = false;
    int ticks = 0;
    QObject context;
    QMetaObject::invokeMethod(&context, [&] { queuedRan = true; }, Qt::QueuedConnection);
    ui::Timer timer("时钟1", 10, nullptr);
    timer.onTick([&] { ++ticks; });

    std::function<void(QMessageBox*)> answerWhenDone = [&](QMessageBox* box) {
        if (queuedRan && ticks >= 2)
            press(box, kOkText);
        else
            onBox(answerWhenDone);
    };
    onBox(answerWhenDone);
    QVERIFY(!queuedRan);
    QCOMPARE(ui::messageBox("text", 16), 0);
    QVERIFY(queuedRan);
    QVERIFY(ticks >= 2);
}

// A box shown by a handler running inside an open box stacks on top of it and
// returns first.
void tst_MessageBox::nestedBoxReturnsFirst()
{
    QStringList order;
    bool outerStillShown = false;
    onBox(
        [&](QMessageBox* outer) {
            QPointer<QMessageBox> outerBox = outer;
            onBox(
                [&](QMessageBox* inner) {
                    outerStillShown = outerBox && outerBox->isVisible();
                    press(inner, kNoText);
                },
                u"inner"_qs);
            order << QStringLiteral("inner %1").arg(ui::messageBox("inner", 4));
            QVERIFY(outerBox);
            press(outerBox, kOkText);
        },
        u"outer"_qs);
    order << QStringLiteral("outer %1").arg(ui::messageBox("outer", 64));
    QCOMPARE(order, (QStringList{u"inner 6"_qs, u"outer 0"_qs}));
    QVERIFY(outerStillShown);
}

void tst_MessageBox::answererSeesRequest()
{
    std::vector<ui::BoxRequest> requests;
    ui::installBoxAnswerer([&](const ui::BoxRequest& request) -> int {
        requests.push_back(request);
        if (request.depth == 1)
            return ui::messageBox("有选手离开", 64, "提示") == ui::kOk ? ui::kYes : ui::kNo;
        return int(ui::kOk);
    });
    QCOMPARE(ui::messageBox("确定要退出吗？", 4), 5);
    QCOMPARE(requests.size(), size_t(2));
    QCOMPARE(requests[0].text, std::string("确定要退出吗？"));
    QCOMPARE(requests[0].flags, 4);
    QCOMPARE(requests[0].title, std::string("\xD0\xC5\xCF\xA2\xA3\xBA"));
    QCOMPARE(requests[0].depth, 1);
    QCOMPARE(requests[1].text, std::string("有选手离开"));
    QCOMPARE(requests[1].flags, 64);
    QCOMPARE(requests[1].title, std::string("提示"));
    QCOMPARE(requests[1].depth, 2);

    // Depth is back to 1 for the next box.
    requests.clear();
    ui::installBoxAnswerer([&](const ui::BoxRequest& request) {
        requests.push_back(request);
        return int(ui::kOk);
    });
    QCOMPARE(ui::messageBox("x", 0), 0);
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].depth, 1);
}

void tst_MessageBox::answererResults_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("answers");  // given in turn while asked
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("asks");

    QTest::newRow("Yes/No Yes") << 4 << QList<int>{5} << 5 << 1;
    QTest::newRow("Yes/No No") << 4 << QList<int>{6} << 6 << 1;
    QTest::newRow("Yes/No asks until answered") << 4 << QList<int>{0, 1, 2, 6} << 6 << 4;
    QTest::newRow("Abort/Retry/Ignore asks again") << 2 << QList<int>{0, 3} << 3 << 2;
    QTest::newRow("OK box gives 0 whatever") << 0 << QList<int>{5} << 0 << 1;
    QTest::newRow("stop OK box") << 16 << QList<int>{-1} << 0 << 1;
    QTest::newRow("OK/Cancel Cancel") << 1 << QList<int>{1} << 1 << 1;
    QTest::newRow("OK/Cancel other closes") << 1 << QList<int>{6} << 1 << 1;
    QTest::newRow("Yes/No/Cancel No") << 3 << QList<int>{6} << 6 << 1;
    QTest::newRow("Yes/No/Cancel other closes") << 3 << QList<int>{0} << 1 << 1;
    QTest::newRow("Retry/Cancel Retry") << 5 << QList<int>{3} << 3 << 1;
}

void tst_MessageBox::answererResults()
{
    QFETCH(int, flags);
    QFETCH(QList<int>, answers);
    QFETCH(int, result);
    QFETCH(int, asks);
    int asked = 0;
    ui::installBoxAnswerer([&](const ui::BoxRequest&) {
        return answers.value(asked++, answers.last());
    });
    QCOMPARE(ui::messageBox("text", flags), result);
    QCOMPARE(asked, asks);
}

void tst_MessageBox::noApplication()
{
    // Measured in main() before the application existed.
    QCOMPARE(resultWithoutApplication, 0);
}

int main(int argc, char** argv)
{
    // Without an application no box can show: 0 at once, no hang.
    const int withoutApplication = ui::messageBox("text", ui::kYesNo);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    tst_MessageBox test;
    test.resultWithoutApplication = withoutApplication;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_message_box.moc"
