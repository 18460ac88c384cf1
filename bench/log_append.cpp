// How appending to the console's log grows with its length: the edit box
// (exact bytes kept, one event per line, caret and scroll kept at the end)
// against a bare QPlainTextEdit appending the same lines, in one run.
//
//   build/bench/log_append [lines]     (default 30000; offscreen by default)
#include "edit_box.h"
#include "gbk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string line(int i)
{
    return "QD :192.168.1." + std::to_string(i % 250) + ":5000\r\n";
}

// Milliseconds to append lines [from, to) through the component layer.
double appendThroughBox(ui::EditBox& box, int from, int to)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = from; i < to; ++i)
        box.append(line(i));
    return clock.nsecsElapsed() / 1e6;
}

// The same through Qt alone: convert, move to the end, insert, scroll.
double appendBare(QPlainTextEdit& edit, int from, int to)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = from; i < to; ++i) {
        std::string l = line(i);
        l.erase(l.size() - 2, 1);   // CR LF shown as one break
        edit.moveCursor(QTextCursor::End);
        edit.insertPlainText(gbk::toQString(l));
        edit.ensureCursorVisible();
    }
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int step = lines / 3 > 0 ? lines / 3 : 1;

    QWidget window;
    ui::EditBox box(ui::EditBox::Lines::Multi, "log", &window);
    box.setVerticalScrollBar(true);
    box.setGeometry(0, 0, 344, 311);
    int events = 0;
    box.onTextChanged([&events] { ++events; });
    QPlainTextEdit bare(&window);
    bare.setGeometry(350, 0, 344, 311);
    window.resize(700, 320);
    window.show();

    std::printf("%-16s %14s %14s %8s\n", "lines so far", "edit box ms", "bare Qt ms", "ratio");
    for (int from = 0; from < lines; from += step) {
        const int to = std::min(lines, from + step);
        const double ours = appendThroughBox(box, from, to);
        const double base = appendBare(bare, from, to);
        std::printf("%-16s %14.1f %14.1f %8.2f\n",
                    (std::to_string(from) + "-" + std::to_string(to)).c_str(), ours, base,
                    base > 0 ? ours / base : 0.0);
    }
    std::printf("events raised: %d for %d lines\n", events, lines);
    return events == lines ? 0 : 1;
}
