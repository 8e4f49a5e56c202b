// The program's own window, with the program's real services, driven by a script instead
// of a user: the kill-loop tests end it at a random moment and look at its state files.
// Usage: state_driver <media folder> <batches> [tab <m3u file>]
// Once the favourites' first load has ended it adds <batches> batches of 25 files of the
// media folder (f0000.avi …), one batch every 100 ms, and, when given, a tab for the m3u
// file after the fifth batch. After each step it prints "added <count> <ms since epoch>" or
// "tab <ms since epoch>" and flushes; at the end "done". SIGTERM runs the whole shutdown,
// as for the program.
#include "app/player.h"
#include "app/shutdown_signals.h"
#include "lists/favourites_page.h"
#include "lists/tab_strip.h"
#include "platform/path.h"

#include <QApplication>
#include <QDateTime>
#include <QTimer>

#include <clocale>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    const QString media = path::addbackslash(args.at(1));
    const int batches = args.at(2).toInt();
    const QString tab = args.size() >= 5 && args.at(3) == u"tab" ? args.at(4) : QString();

    PlayerServices services = realServices({});
    services.mediaControls = false;
    Player player(std::move(services));
    endOnSignals(&player);
    if (!player.Form_Load())
        return 0;

    int done = 0;
    QTimer step;
    step.setInterval(100);
    QObject::connect(&step, &QTimer::timeout, &player, [&] {
        FavouritesPage &f = *player.favourites();
        if (f.firstLoadPending() || f.isAdding())
            return;
        if (done == batches) {
            step.stop();
            std::printf("done\n");
            std::fflush(stdout);
            return;
        }
        QStringList names;
        for (int i = 0; i < 25; ++i)
            names.append(QStringLiteral("f%1.avi").arg(done * 25 + i, 4, 10, QChar(u'0')));
        if (!f.add_selected_files(media, names))
            return; // refused: the window is closing
        ++done;
        std::printf("added %d %lld\n", done * 25, QDateTime::currentMSecsSinceEpoch());
        if (done == 5 && !tab.isEmpty()) {
            TabStrip *tabs = f.TabM3u();
            tabs->add(tabs->count() + 1, QString(), path::getfiletitle(tab), tab);
            std::printf("tab %lld\n", QDateTime::currentMSecsSinceEpoch());
        }
        std::fflush(stdout);
    });
    step.start();
    return app.exec();
}
