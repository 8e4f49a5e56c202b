// The file search over a generated tree of 100,000 files in 1,000 folders, fewer than 513 of
// them matching "abc", so the whole tree is walked: from Enter in the search text to the
// last result listed in the window, the walk alone, and `find ROOT -iname '*abc*'` on the
// same tree in the same run. The cache is warm: one run of each comes first and is not
// counted.
#include "bench_support.h"

#include "app/player.h"
#include "lists/file_page.h"
#include "lists/file_search.h"
#include "lists/list_pane.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>

#include <clocale>
#include <cstdio>

namespace {

double ms(const QElapsedTimer &t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    // 1,000 folders of 100 files; every 250th file holds "abc" (400 matches).
    QTemporaryDir work;
    const QString root = work.filePath("tree");
    int made = 0;
    for (int d = 0; d < 1000; ++d) {
        const QString dir = root + QStringLiteral("/group%1/").arg(d / 50) + QStringLiteral("folder%1/").arg(d);
        QDir().mkpath(dir);
        for (int f = 0; f < 100; ++f, ++made) {
            const QString name = made % 250 == 0 ? QStringLiteral("x_abc_%1.avi").arg(made)
                                                 : QStringLiteral("clip %1.avi").arg(made);
            QFile(dir + name).open(QIODevice::WriteOnly);
        }
    }

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    if (!player.Form_Load()) {
        std::fprintf(stderr, "the window did not start\n");
        return 1;
    }
    player.files()->TabDir()->setTag(1, root);
    player.listPane()->Tab1()->select(3);
    SearchPage &page = *player.search();

    std::vector<double> windowMs, walkMs, findMs;
    int listed = 0, walked = 0, findLines = 0;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer t;
        // Through the window: Enter, then until the search has ended with every result listed.
        page.FindText()->setCurrentText(QStringLiteral("abc"));
        t.start();
        page.FindText_KeyDown(Qt::Key_Return);
        while (page.isSearching())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double w = ms(t);
        listed = page.List_Find()->count();

        // The walk alone.
        std::atomic<bool> cancel{false};
        t.restart();
        walked = filesearch::searchTree(root, QStringLiteral("abc"), filesearch::kFindSlots, cancel,
                                        [](const filesearch::Found &) {});
        const double k = ms(t);

        QProcess find;
        t.restart();
        find.start(QStringLiteral("find"), {root, QStringLiteral("-iname"), QStringLiteral("*abc*")});
        find.waitForFinished(-1);
        const double f = ms(t);
        findLines = static_cast<int>(find.readAllStandardOutput().count('\n'));

        if (run == 0)
            continue; // the warm-up
        windowMs.push_back(w);
        walkMs.push_back(k);
        findMs.push_back(f);
    }
    const double win = bench::median(windowMs), walk = bench::median(walkMs), fnd = bench::median(findMs);
    std::printf("%d files in 1,000 folders, \"abc\", median of %d warm runs\n", made, runs);
    std::printf("  search page (Enter to last result listed): %.1f ms, %d results\n", win, listed);
    std::printf("  walk alone: %.1f ms, %d results\n", walk, walked);
    std::printf("  find -iname '*abc*': %.1f ms, %d results\n", fnd, findLines);
    std::printf("  ratio search page / find: %.2f; walk / find: %.2f\n", win / fnd, walk / fnd);
    player.close();
    return 0;
}
