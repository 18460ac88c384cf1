// Program services: starting programs, the program folder, reading files,
// pending events, ending, beeping, the screen and the focus; and the
// application every program starts with.
#include "program_services.h"

#include "application.h"
#include "edit_box.h"
#include "window.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

std::string pathIn(const QTemporaryDir& dir, const char* name)
{
    return dir.filePath(QString::fromLatin1(name)).toStdString();
}

}  // namespace

class TestProgramServices : public QObject {
    Q_OBJECT

private slots:
    void applicationSetsTheStage();
    void programFolderHasNoTrailingSeparator();
    void readWholeFile_data();
    void readWholeFile();
    void readWholeFileFailsQuietly();
    void startProgramReportsWhetherItStarted_data();
    void startProgramReportsWhetherItStarted();
    void startProgramGroupsQuotedWords();
    void starterSeamTakesTheCommandLine();
    void enderAndBeeperSeams();
    void endProgramEndsAtOnce();
    void processPendingEventsRunsWaitingHandlers();
    void screenSizeIsThePrimaryScreens();
    void setFocusActivatesWindowOrFocusesControl();
};

void TestProgramServices::applicationSetsTheStage()
{
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QCOMPARE(QDir::currentPath(), QCoreApplication::applicationDirPath());
    // Chinese faces back up the system's face where they exist.
    const QStringList families = QApplication::font().families();
    QVERIFY(families.size() > 1);
    QVERIFY(families.contains(QStringLiteral(u"WenQuanYi Micro Hei")));
}

void TestProgramServices::programFolderHasNoTrailingSeparator()
{
    const std::string folder = ui::programFolder();
    QVERIFY(!folder.empty());
    QVERIFY(folder.back() != '/');
    QCOMPARE(QString::fromStdString(folder), QCoreApplication::applicationDirPath());
    // The program's own file is in it.
    QVERIFY(QFile::exists(QString::fromStdString(folder) + u'/'
                          + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

void TestProgramServices::readWholeFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("address with CR LF") << QByteArray("192.168.1.20\r\n");
    QTest::newRow("zero bytes inside") << QByteArray("10.0.0.5\0junk\0", 14);
    QTest::newRow("not GBK") << QByteArray("\xFF\xD8\xFF\xE0\x80");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("large") << QByteArray(3 * 1024 * 1024 + 7, '\xA1');
}

void TestProgramServices::readWholeFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = pathIn(dir, "ip.txt");
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(bytesOf(ui::readWholeFile(path)), content);
}

void TestProgramServices::readWholeFileFailsQuietly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(ui::readWholeFile(pathIn(dir, "missing.txt")).empty());
    QVERIFY(ui::readWholeFile(dir.path().toStdString()).empty());  // a folder
    QTest::ignoreMessage(QtWarningMsg, "QFSFileEngine::open: No file name specified");
    QVERIFY(ui::readWholeFile("").empty());
    // A name in GBK reaches the file system as the same characters.
    QFile named(dir.filePath(QStringLiteral(u"选手.txt")));
    QVERIFY(named.open(QIODevice::WriteOnly));
    named.write("ok");
    named.close();
    QCOMPARE(ui::readWholeFile(dir.path().toStdString() + "/选手.txt"), std::string("ok"));
}

void TestProgramServices::startProgramReportsWhetherItStarted_data()
{
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<bool>("wait");
    QTest::addColumn<bool>("started");
    QTest::newRow("true, no wait") << QByteArray("/bin/true") << false << true;
    QTest::newRow("true, wait") << QByteArray("/bin/true") << true << true;
    QTest::newRow("failing program still started") << QByteArray("/bin/false") << true << true;
    QTest::newRow("missing, no wait") << QByteArray("/nonexistent/program x") << false << false;
    QTest::newRow("missing, wait") << QByteArray("/nonexistent/program x") << true << false;
    QTest::newRow("not on the path") << QByteArray("no-such-program-here http://127.0.0.1/") << false << false;
    QTest::newRow("empty") << QByteArray("") << false << false;
    QTest::newRow("blanks") << QByteArray("   ") << true << false;
}

void TestProgramServices::startProgramReportsWhetherItStarted()
{
    QFETCH(QByteArray, commandLine);
    QFETCH(bool, wait);
    QFETCH(bool, started);
    QCOMPARE(ui::startProgram(commandLine.toStdString(), wait), started);
}

void TestProgramServices::startProgramGroupsQuotedWords()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!dir.path().contains(u' '));
    const std::string out = pathIn(dir, "out");
    // sh -c SCRIPT NAME ARGS...: the script writes how many arguments it got
    // and each of them (an empty IFS keeps blanks inside one; quotes cannot
    // appear in a quoted word). wait=true returns after it ended.
    const std::string script = "IFS=; printf '[%s]' $# $1 $2 $3 > " + out;
    const std::string line = "/bin/sh -c \"" + script + "\" zero \"a  b\" c\"d e\"f \"\"";
    QVERIFY(ui::startProgram(line, true));
    QCOMPARE(bytesOf(ui::readWholeFile(out)), QByteArray("[3][a  b][cd ef]"));
}

void TestProgramServices::starterSeamTakesTheCommandLine()
{
    std::string seen;
    bool seenWait = true;
    ui::installProgramStarter([&](const std::string& commandLine, bool wait) {
        seen = commandLine;
        seenWait = wait;
        return false;
    });
    const std::string line = ui::desktopOpener() + " http://127.0.0.1/选手";
    QCOMPARE(ui::startProgram(line), false);
    QCOMPARE(seen, line);
    QCOMPARE(seenWait, false);
    ui::installProgramStarter({});
    QCOMPARE(ui::startProgram("/bin/true", true), true);
    QCOMPARE(seen, line);
#ifndef _WIN32
    QCOMPARE(ui::desktopOpener(), std::string("xdg-open"));
#endif
}

void TestProgramServices::enderAndBeeperSeams()
{
    int code = -1;
    ui::installProgramEnder([&](int c) { code = c; });
    ui::endProgram(3);
    QCOMPARE(code, 3);
    ui::endProgram(0);
    QCOMPARE(code, 0);
    ui::installProgramEnder({});

    int beeps = 0;
    ui::installBeeper([&] { ++beeps; });
    ui::beep();
    ui::beep();
    QCOMPARE(beeps, 2);
    ui::installBeeper({});
}

void TestProgramServices::endProgramEndsAtOnce()
{
    // This program again, told to end itself with code 7 (see main).
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QB_END_PROGRAM_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 7);
    // What was written before is out; no close query, destructor or exit
    // handler ran, and the caller never went on.
    QCOMPARE(child.readAllStandardOutput(), QByteArray("before"));
}

void TestProgramServices::processPendingEventsRunsWaitingHandlers()
{
    std::vector<int> ran;
    QMetaObject::invokeMethod(qApp, [&] {
        ran.push_back(1);
        // Posted by a handler that is itself running: still delivered.
        QMetaObject::invokeMethod(qApp, [&] { ran.push_back(2); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    QTimer::singleShot(0, qApp, [&] { ran.push_back(3); });
    ui::processPendingEvents();
    QVERIFY(std::find(ran.begin(), ran.end(), 1) != ran.end());
    QVERIFY(std::find(ran.begin(), ran.end(), 2) != ran.end());

    // A timer that is always due does not keep the call from returning.
    QTimer busy;
    int ticks = 0;
    QObject::connect(&busy, &QTimer::timeout, [&] { ++ticks; });
    busy.start(0);
    ui::processPendingEvents();
    busy.stop();
}

void TestProgramServices::screenSizeIsThePrimaryScreens()
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    QCOMPARE(ui::screenWidth(), size.width());
    QCOMPARE(ui::screenHeight(), size.height());
}

void TestProgramServices::setFocusActivatesWindowOrFocusesControl()
{
    ui::Window main("主窗口", ui::Window::Frame::Fixed, 480, 235);
    auto* first = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框1", &main);
    auto* second = new ui::EditBox(ui::EditBox::Lines::Single, "编辑框2", &main);
    ui::Window other("窗口1", ui::Window::Frame::None, 200, 100);
    ui::loadWindow(main);
    ui::loadWindow(other);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    ui::setFocus(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    ui::setFocus(second);
    QTRY_VERIFY(second->editor()->hasFocus());
    QVERIFY(!first->editor()->hasFocus());

    // Coming back to the window keeps the control that had the focus.
    ui::setFocus(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    ui::setFocus(&main);
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTRY_VERIFY(second->editor()->hasFocus());
    main.close();
    other.close();
}

namespace {

// The child of endProgramEndsAtOnce: every way a handler could still run
// after endProgram writes to stdout.
int endProgramChild(int argc, char** argv)
{
    struct Destructor {
        ~Destructor() { std::fputs(" destructor", stdout); }
    } destructor;
    ui::Application app(argc, argv);
    std::atexit([] { std::fputs(" atexit", stdout); });
    ui::Window window("主窗口", ui::Window::Frame::Fixed, 480, 235);
    window.onCloseQuery([] {
        std::fputs(" close query", stdout);
        return true;
    });
    ui::loadWindow(window);
    std::fputs("before", stdout);  // still in the buffer
    ui::endProgram(7);
    std::fputs(" after", stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QB_END_PROGRAM_CHILD"))
        return endProgramChild(argc, argv);
    ui::Application app(argc, argv);
    TestProgramServices test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program_services.moc"
