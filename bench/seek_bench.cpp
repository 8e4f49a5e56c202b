// A click on the seek bar to the sought frame painted inside a running program, against
// the same exact seeks sent to a running mpv (seek absolute+exact over its IPC socket
// until playback restarts), under the same Xvfb. Both sides seek the 330 s clip while
// paused, to the same seconds.
//
// The engine reports no end of a seek, so the time runs to the first frame painted after
// the release. While paused the engine paints only what a seek brings: paints in a quiet
// spell before the clicks are counted and reported, and must be 0 for the timings to
// hold. Each seek is followed by one more paint of the same picture about 100-150 ms
// later; every click waits that out, so it never counts as the next click's frame.
#include "bench_support.h"

#include "app/player.h"
#include "playback/cmovie.h"
#include "playback/media_backend.h"
#include "widgets/controls.h"
#include "widgets/seek_math.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// Processes events for ms milliseconds, or until done() holds.
template <typename Done>
void spin(int ms, Done done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// Ten targets from 5 % to 95 % of the track, in a fixed shuffled order (Fisher-Yates on a
// seeded mt19937, whose output is the same everywhere).
std::vector<double> targetFractions()
{
    std::vector<double> f;
    for (int k = 0; k < 10; ++k)
        f.push_back(0.05 + 0.1 * k);
    std::mt19937 rng(20240611u);
    for (std::size_t i = f.size() - 1; i > 0; --i)
        std::swap(f[i], f[rng() % (i + 1)]);
    return f;
}

struct Click
{
    int x = 0;          // twips from the seek bar's left edge
    double seconds = 0; // where the program seeks for a click there
};

// The point on the seek bar for a fraction of the track, and the second the program
// seeks to for a click there (round(f × duration) whole seconds).
Click clickFor(double fraction, int widthTw, double duration)
{
    Click c;
    c.x = seek::kTrackMargin + static_cast<int>(std::lround(fraction * (widthTw - 2 * seek::kTrackMargin)));
    c.seconds = seek::moviePointer(seek::trackFraction(c.x, widthTw), duration) / 100.0;
    return c;
}

// Press and release on the seek bar at x; the time until the first frame painted after
// the release has returned. Afterwards waits for the picture to settle, counting the
// further paints in `repaints`.
double clickMs(Player &player, int x, int &repaints)
{
    QElapsedTimer t;
    bool released = false;
    double ms = -1;
    const auto c = QObject::connect(&player, &Player::framePainted, [&] {
        if (released && ms < 0)
            ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        else
            ++repaints;
    });
    t.start();
    player.controls()->SeekBar_MouseDown(Qt::LeftButton, Qt::NoModifier, x);
    player.controls()->SeekBar_MouseUp(Qt::LeftButton, Qt::NoModifier, x);
    released = true;
    spin(10000, [&] { return ms >= 0; });
    spin(400, [] { return false; });
    QObject::disconnect(c);
    return ms;
}

void report(const char *name, const std::vector<double> &v)
{
    if (v.empty()) {
        std::printf("  %-8s no results\n", name);
        return;
    }
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    std::printf("  %-8s median %.1f ms, min %.1f ms, max %.1f ms\n", name, bench::median(v), *lo, *hi);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 10);
    bench::Xvfb x;
    if (!bench::useDisplay(x))
        return 1;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString clip = bench::clip(QStringLiteral("long.avi"));

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();

    // Open the clip, wait for its first frame, pause it through the program's own pause.
    MediaBackend *engine = player.video()->movie()->backend();
    bool painted = false;
    const auto first = QObject::connect(&player, &Player::framePainted, [&] { painted = true; });
    player.openMedia(clip, 0);
    spin(10000, [&] { return painted && engine->duration().has_value(); });
    QObject::disconnect(first);
    if (!painted || !engine->duration()) {
        std::fprintf(stderr, "long.avi did not open\n");
        return 1;
    }
    player.video()->movie()->MediaPlay(2);
    spin(3000, [&] { return engine->isPaused(); });
    spin(300, [] { return false; });

    const double duration = *engine->duration();
    const int widthTw = twips::width(player.controls()->SeekBar());
    std::vector<Click> clicks;
    const std::vector<double> fractions = targetFractions();
    for (int i = 0; i < runs; ++i)
        clicks.push_back(clickFor(fractions[i % fractions.size()], widthTw, duration));
    const Click warmUp = clickFor(0.5, widthTw, duration); // not among the targets

    int quiet = 0; // paints with no seek under way
    const auto q = QObject::connect(&player, &Player::framePainted, [&] { ++quiet; });
    spin(1000, [] { return false; });
    QObject::disconnect(q);

    std::vector<double> ours;
    int repaints = 0;
    clickMs(player, warmUp.x, repaints); // the first seek of a file
    repaints = 0;
    for (const Click &c : clicks) {
        const double ms = clickMs(player, c.x, repaints);
        if (ms >= 0)
            ours.push_back(ms);
    }
    const bool stillPaused = engine->isPaused();

    QTemporaryDir ipcDir;
    const QString socketPath = ipcDir.filePath("mpv.sock");
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), {"--no-config", "--idle=yes", "--no-audio", "--vo=x11", "--really-quiet",
                                      "--force-window=yes", "--pause", "--hr-seek=yes",
                                      "--input-ipc-server=" + socketPath});
    QLocalSocket sock;
    bench::connectToMpv(sock, socketPath);
    std::vector<double> theirs;
    if (sock.state() == QLocalSocket::ConnectedState
        && bench::mpvCommandMs(sock, QJsonArray{"loadfile", clip, "replace"}) >= 0) {
        const auto seekTo = [&](double s) { return bench::mpvCommandMs(sock, QJsonArray{"seek", s, "absolute+exact"}); };
        seekTo(warmUp.seconds);
        for (const Click &c : clicks) {
            const double ms = seekTo(c.seconds);
            if (ms >= 0)
                theirs.push_back(ms);
        }
    } else {
        std::fprintf(stderr, "mpv did not load the clip over IPC\n");
    }
    mpv.terminate();
    mpv.waitForFinished(3000);
    player.close();

    const double m1 = bench::median(ours), m2 = bench::median(theirs);
    std::printf("seek-bar click to sought frame painted, %.0f s clip paused, %d exact seeks (%zu/%zu completed):\n",
                duration, runs, ours.size(), theirs.size());
    report("plovana", ours);
    report("mpv", theirs);
    std::printf("  ratio of medians %.2f\n", m2 > 0 ? m1 / m2 : 0.0);
    std::printf("  paints in 1 s with no seek: %d; further paints after the sought frame: %d%s\n", quiet,
                repaints, stillPaused ? "" : " (the clip did not stay paused)");
    std::printf("  targets (s):");
    for (const Click &c : clicks)
        std::printf(" %.0f", c.seconds);
    std::printf("\n");
    return 0;
}
