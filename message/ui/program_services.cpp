#include "program_services.h"

#include "gbk.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace ui {
namespace {

ProgramStarter installedStarter;
ProgramEnder installedEnder;
Beeper installedBeeper;

// Words separated by blanks; double quotes group blanks into a word and are
// dropped; there are no escapes. "" is an empty word.
QStringList splitCommandLine(std::string_view commandLine)
{
    QStringList words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words << gbk::toQString(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << gbk::toQString(word);
    return words;
}

bool startReal(std::string_view commandLine, bool wait)
{
    QStringList words = splitCommandLine(commandLine);
    if (words.isEmpty() || words.front().isEmpty())
        return false;
    const QString program = words.takeFirst();
    if (!wait)
        return QProcess::startDetached(program, words);
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, words);
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return true;
}

}  // namespace

bool startProgram(std::string_view commandLine, bool wait)
{
    if (installedStarter)
        return installedStarter(text::Text(commandLine), wait);
    return startReal(commandLine, wait);
}

text::Text desktopOpener()
{
#ifdef _WIN32
    return "explorer.exe";
#else
    return "xdg-open";
#endif
}

text::Text programFolder()
{
    text::Text folder = gbk::fromQString(QCoreApplication::applicationDirPath());
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

void enterProgramFolder()
{
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}

text::Bytes readWholeFile(std::string_view path)
{
    QFile file(gbk::toQString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void processPendingEvents()
{
    // One pass: timers that are always due would keep a loop "until idle"
    // running for ever.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void endProgram(int exitCode)
{
    if (installedEnder) {
        installedEnder(exitCode);
        return;
    }
    // At once: no close query, no destructor, no other handler.
    std::fflush(nullptr);
    ::_exit(exitCode);
}

void beep()
{
    if (installedBeeper)
        installedBeeper();
    else
        QApplication::beep();
}

int screenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() : 0;
}

int screenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() : 0;
}

void setFocus(QWidget* windowOrControl)
{
    if (!windowOrControl)
        return;
    if (windowOrControl->isWindow()) {
        windowOrControl->activateWindow();
        // Windowless platforms (offscreen) have no stacking and warn on raise.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            windowOrControl->raise();
        // Activation gives the focus back to the control that had it; only a
        // window without one takes the focus itself.
        if (windowOrControl->focusWidget())
            return;
    }
    windowOrControl->setFocus();
}

void installProgramStarter(ProgramStarter starter) { installedStarter = std::move(starter); }
void installProgramEnder(ProgramEnder ender) { installedEnder = std::move(ender); }
void installBeeper(Beeper beeper) { installedBeeper = std::move(beeper); }

}  // namespace ui
