// CPU cost of one tick of the position timer while a clip plays on the real engine.
#include "bench_support.h"

#include "app/player.h"
#include "dialogs/dialogs.h"
#include "platform/wave_out.h"
#include "playback/playback.h"
#include "widgets/timer.h"

#include <QApplication>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <ctime>

namespace {

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PLOVANA_MPV_AO", "null");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 20000;

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();
    player.playback()->mode_Click(2); // loop, so the clip plays for the whole run
    player.openMedia(bench::clip(QStringLiteral("long.avi")), 0);
    player.playback()->tmrPosition()->setInterval(1000000);

    const double start = threadCpuUs();
    for (int i = 0; i < ticks; ++i) {
        player.playback()->tmrPosition_Timer();
        if (i % 100 == 0)
            QCoreApplication::processEvents(); // let the engine's events arrive
    }
    const double perTick = (threadCpuUs() - start) / ticks;
    std::printf("position timer tick: %.2f us of UI-thread CPU per tick (%d ticks)\n", perTick, ticks);
    player.close();
    return 0;
}
