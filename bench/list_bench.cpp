// Loading a favourites list of 10,000 entries, beside a plain existence check of the same
// 10,000 paths in the same run.
#include "bench_support.h"

#include "app/player.h"
#include "dialogs/dialogs.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "platform/wave_out.h"
#include "widgets/timer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;

    QTemporaryDir work;
    QDir().mkpath(work.filePath("clips"));
    QStringList lines;
    for (int i = 0; i < entries; ++i) {
        const QString p = work.filePath(QStringLiteral("clips/clip %1.avi").arg(i));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        lines.append(p);
    }
    const QString m3u = work.filePath("long.m3u");
    platform::writeTextLines(m3u, lines);

    QElapsedTimer t;
    t.start();
    int found = 0;
    for (const QString &p : lines)
        found += platform::normalEntryExists(p) ? 1 : 0;
    const double existsMs = static_cast<double>(t.nsecsElapsed()) / 1e6;

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();
    player.favourites()->tmr_okini()->setEnabled(false);
    player.listPane()->Tab1()->select(2);
    QCoreApplication::processEvents();

    t.restart();
    player.favourites()->load_okini(m3u);
    const double loadMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    std::printf("%d entries: load_okini %.1f ms (%d listed), existence check alone %.1f ms (%d found)\n", entries,
                loadMs, player.favourites()->List_okini()->count(), existsMs, found);
    player.close();
    return 0;
}
