// make_icons OUTPUT_DIR
//
// Writes the programs' icons as PNG files for desktop entries and the host's
// guide: quizbuzzer-console-<size>.png and quizbuzzer-buzzer-<size>.png for
// sizes 64, 128 and 256. The pictures come from the same drawing code the
// programs use for their window icons.
#include "buzzer_icon.h"
#include "console_icon.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "make_icons: cannot create %s\n", argv[1]);
        return 1;
    }
    struct Icon {
        const char* name;
        QImage (*draw)(int);
    };
    const Icon icons[] = {{"quizbuzzer-console", consoleIcon}, {"quizbuzzer-buzzer", buzzerIcon}};
    for (const Icon& icon : icons) {
        for (int size : {64, 128, 256}) {
            const QString path = QStringLiteral("%1/%2-%3.png").arg(dir, QLatin1String(icon.name)).arg(size);
            // Written beside and renamed, so an interrupted build never leaves
            // a truncated picture that looks done.
            const QString tmp = path + QStringLiteral(".tmp");
            if (!icon.draw(size).save(tmp, "PNG") || (QFile::exists(path) && !QFile::remove(path))
                || !QFile::rename(tmp, path)) {
                std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
