// The seek bar's preview inside a running program, under Xvfb, on the 330 s clip and on H.264
// 1920 × 1080 clips made here:
//  - cold: the pointer comes to rest over a second not seen before; the time from the move
//    to the preview's picture of that second painted (the first position of a file, which
//    opens it in the decoder, is reported on its own);
//  - cached: the same positions again;
//  - beside them, in the same run, `ffmpeg -ss T -i clip -frames:v 1 -vf scale=160:-1` for
//    the same seconds, as a process (its wall time);
//  - a sweep: 3 s over the bar at 60 pointer moves a second while the clip plays; a 10 ms
//    timer on the UI thread beats meanwhile (its longest gap), and at every beat the picture
//    shown is compared with the pointer: how long ago the pointer was last at the second the
//    picture shows (0 while it still is; before the first picture, the time since the first
//    move). Counted twice: with the frames near a second that stand in while the pointer
//    moves (a key frame before it, shown under the second's time), and with the frames at
//    their second alone.
//
//   preview_bench [positions]
#include "bench_support.h"

#include "app/player.h"
#include "playback/cmovie.h"
#include "playback/media_backend.h"
#include "playback/playback.h"
#include "playback/playback_state.h"
#include "widgets/controls.h"
#include "widgets/seek_math.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview.h"
#include "window/video_area.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

namespace {

// The H.264 1920 × 1080 clips, made once per build folder: 60 s of testsrc2 at 30 fps
// (libx264 veryfast, CRF 23), with a key frame every 2 s (keyint 60, as streaming services
// ask for), and with x264's own default (keyint 250: up to 8.3 s between key frames).
QString hdClip(const QString &name, const QStringList &keyFrames)
{
    const QString dir = QStringLiteral(PLOVANA_TEST_MEDIA_DIR "/bench");
    QDir().mkpath(dir);
    const QString path = dir + u'/' + name;
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "making %s\n", qPrintable(path));
        QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=s=1920x1080:r=30:d=60",
                         "-c:v", "libx264", "-preset", "veryfast", "-crf", "23"};
        args << keyFrames << QStringList{"-pix_fmt", "yuv420p", path + ".part.mp4"};
        QProcess::execute(QStringLiteral("ffmpeg"), args);
        QFile::rename(path + ".part.mp4", path);
    }
    return path;
}

template <typename Done>
void spin(int ms, Done done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

// Stamps the paints of the preview's picture.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const QElapsedTimer &clock) : m_clock(clock) {}
    double lastPaint = -1;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            lastPaint = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
        return QObject::eventFilter(o, e);
    }

private:
    const QElapsedTimer &m_clock;
};

// The pointer at x pixels over the seek bar, no button held.
void moveOver(Player &player, int x)
{
    QWidget *bar = player.controls()->SeekBar();
    const QPointF p(x, bar->height() / 2);
    QMouseEvent e(QEvent::MouseMove, p, bar->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &e);
}

int pixelFor(Player &player, double fraction)
{
    const int w = twips::width(player.controls()->SeekBar());
    return twips::toPixelsX(seek::kTrackMargin + static_cast<int>(std::lround(fraction * (w - 2 * seek::kTrackMargin))));
}

// A window playing the clip, its first frame painted.
bool openIn(Player &player, const QString &clip)
{
    bool painted = false;
    const auto c = QObject::connect(&player, &Player::framePainted, [&] { painted = true; });
    player.openMedia(clip, 0);
    MediaBackend *engine = player.video()->movie()->backend();
    spin(15000, [&] { return painted && engine && engine->duration().has_value(); });
    QObject::disconnect(c);
    return painted && player.playback()->state().duration() > 0;
}

struct Cold
{
    double first = -1;      // the file's first position: the decoder opens it
    std::vector<double> ms; // later positions
    std::vector<double> cached;
    std::vector<int> seconds; // of the later positions
    int missed = 0;
};

// Positions from 5 % to 95 % of the track, in a fixed shuffled order.
std::vector<double> fractions(int n)
{
    std::vector<double> f;
    for (int k = 0; k < n; ++k)
        f.push_back(0.05 + 0.9 * k / std::max(1, n - 1));
    std::mt19937 rng(20240611u);
    for (std::size_t i = f.size() - 1; i > 0; --i)
        std::swap(f[i], f[rng() % (i + 1)]);
    return f;
}

// The time from a move to the picture of its second painted; -1 when it does not come.
double showMs(Player &player, PaintWatch &paints, const QElapsedTimer &clock, int x)
{
    SeekPreview &preview = *player.seekPreview();
    const double start = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    paints.lastPaint = -1;
    moveOver(player, x);
    const std::optional<int> second = preview.pointerSecond();
    if (!second)
        return -1;
    const auto shown = [&] { return preview.shownSecond() == second && preview.shownExact() && paints.lastPaint >= start; };
    spin(10000, shown);
    if (!shown())
        return -1;
    return paints.lastPaint - start;
}

Cold coldAndCached(const QString &clip, int positions)
{
    Cold out;
    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();
    if (!openIn(player, clip)) {
        std::fprintf(stderr, "%s did not open\n", qPrintable(clip));
        return out;
    }
    player.video()->movie()->MediaPlay(2); // paused: the engine does not compete
    spin(500, [] { return false; });
    QElapsedTimer clock;
    clock.start();
    PaintWatch paints(clock);
    player.seekPreview()->previewPicture()->installEventFilter(&paints);

    const std::vector<double> f = fractions(positions + 1);
    out.first = showMs(player, paints, clock, pixelFor(player, f[0]));
    std::vector<int> xs;
    for (std::size_t i = 1; i < f.size(); ++i) {
        const int x = pixelFor(player, f[i]);
        const double ms = showMs(player, paints, clock, x);
        if (ms < 0) {
            ++out.missed;
            continue;
        }
        out.ms.push_back(ms);
        out.seconds.push_back(*player.seekPreview()->pointerSecond());
        xs.push_back(x);
        spin(50, [] { return false; });
    }
    std::reverse(xs.begin(), xs.end());
    for (int x : xs) {
        const double ms = showMs(player, paints, clock, x);
        if (ms >= 0)
            out.cached.push_back(ms);
        spin(20, [] { return false; });
    }
    player.close();
    return out;
}

std::vector<double> ffmpegMs(const QString &clip, const std::vector<int> &seconds)
{
    QTemporaryDir out;
    std::vector<double> ms;
    for (int s : seconds) {
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-y", "-ss", QString::number(s), "-i", clip,
                                           "-frames:v", "1", "-vf", "scale=160:-1", out.filePath("frame.png")});
        if (p.waitForFinished(30000) && p.exitCode() == 0)
            ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

struct Sweep
{
    double longestGap = 0;  // between beats of the 10 ms timer
    double longestLag = 0;  // of the picture shown behind the pointer, stand-ins counted
    double longestExactLag = 0; // of the last frame shown at its own second
    int exactPictures = 0;
    double settle = -1;     // from the last move to its picture
    int moves = 0, pictures = 0, seconds = 0;
};

Sweep sweep(const QString &clip)
{
    Sweep out;
    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();
    if (!openIn(player, clip))
        return out;
    spin(1000, [] { return false; }); // playing
    SeekPreview &preview = *player.seekPreview();
    QElapsedTimer clock;
    clock.start();
    const auto now = [&] { return static_cast<double>(clock.nsecsElapsed()) / 1e6; };

    struct Move
    {
        double at;
        int second;
    };
    std::vector<Move> moves;
    std::optional<int> lastExact; // the second of the last frame shown that is the frame at it
    const auto lag = [&](double t, std::optional<int> shown) {
        if (moves.empty())
            return 0.0;
        if (shown) {
            for (std::size_t i = moves.size(); i-- > 0;) {
                if (moves[i].second != *shown)
                    continue;
                return i + 1 == moves.size() ? 0.0 : t - moves[i + 1].at; // left it then
            }
        }
        return t - moves.front().at; // no picture of the sweep yet
    };
    const auto c = QObject::connect(&preview, &SeekPreview::pictureShown, [&](int second, bool exact) {
        ++out.pictures;
        if (exact) {
            ++out.exactPictures;
            lastExact = second;
        }
    });

    double lastBeat = -1;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(10);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const double t = now();
        if (lastBeat >= 0)
            out.longestGap = std::max(out.longestGap, t - lastBeat);
        lastBeat = t;
        out.longestLag = std::max(out.longestLag, lag(t, preview.shownSecond()));
        out.longestExactLag = std::max(out.longestExactLag, lag(t, lastExact));
    });
    const int steps = 180; // 3 s at 60 a second
    int step = 0;
    QTimer mover;
    mover.setTimerType(Qt::PreciseTimer);
    mover.setInterval(1000 / 60);
    const double start = now();
    QObject::connect(&mover, &QTimer::timeout, [&] {
        // Where the pointer is due by now: moves are never bunched up after a late beat.
        const int due = std::min(steps, static_cast<int>((now() - start) / (1000.0 / 60)) + 1);
        if (step >= due)
            return;
        step = due;
        moveOver(player, pixelFor(player, 0.05 + 0.9 * (step - 1) / (steps - 1)));
        if (const auto s = preview.pointerSecond())
            moves.push_back({now(), *s});
        if (step >= steps)
            mover.stop();
    });
    beat.start();
    mover.start();
    const auto settled = [&] {
        return !moves.empty() && preview.shownSecond() == moves.back().second && preview.shownExact();
    };
    spin(3000 + 2000, [&] { return step >= steps && settled(); });
    if (settled())
        out.settle = now() - moves.back().at;
    beat.stop();
    mover.stop();
    QObject::disconnect(c);
    out.moves = static_cast<int>(moves.size());
    std::vector<int> distinct;
    for (const Move &m : moves)
        if (distinct.empty() || distinct.back() != m.second)
            distinct.push_back(m.second);
    out.seconds = static_cast<int>(distinct.size());
    player.close();
    return out;
}

void report(const char *name, const QString &clip, int positions)
{
    std::printf("%s (%s)\n", name, qPrintable(QFileInfo(clip).fileName()));
    const Cold cold = coldAndCached(clip, positions);
    const std::vector<double> theirs = ffmpegMs(clip, cold.seconds);
    std::printf("  first position (opens the file): %.1f ms\n", cold.first);
    std::printf("  cold:   %s ms over %zu positions%s\n", qPrintable(bench::spread(cold.ms, 1)), cold.ms.size(),
                cold.missed ? qPrintable(QStringLiteral(" (%1 did not show)").arg(cold.missed)) : "");
    std::printf("  cached: %s ms\n", qPrintable(bench::spread(cold.cached, 2)));
    std::printf("  ffmpeg -ss T -frames:v 1 -vf scale=160:-1, process: %s ms\n", qPrintable(bench::spread(theirs, 1)));
    const double m = bench::median(theirs);
    std::printf("  cold / ffmpeg (medians): %.2f\n", m > 0 ? bench::median(cold.ms) / m : 0.0);
    std::printf("  seconds:");
    for (int s : cold.seconds)
        std::printf(" %d", s);
    std::printf("\n");
    const Sweep s = sweep(clip);
    std::printf("  sweep while playing: %d moves over %d seconds, %d pictures shown (%d of them the frame at "
                "their second); longest gap of the 10 ms timer %.1f ms; picture at most %.0f ms behind the "
                "pointer counting the key frames that stand in, %.0f ms counting frames at their second alone; "
                "the frame at the last position shown %.0f ms after the last move\n",
                s.moves, s.seconds, s.pictures, s.exactPictures, s.longestGap, s.longestLag, s.longestExactLag,
                s.settle);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    const int positions = std::max(3, argc > 1 ? std::atoi(argv[1]) : 15);
    bench::Xvfb x;
    if (!bench::useDisplay(x))
        return 1;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString gop2 = hdClip(QStringLiteral("preview-1080p-keyint60.mp4"), {"-g", "60"});
    const QString gopDefault = hdClip(QStringLiteral("preview-1080p-keyint250.mp4"), {});
    report("H.264 1920x1080, key frame every 2 s", gop2, positions);
    report("330 s clip", bench::clip(QStringLiteral("long.avi")), positions);
    report("H.264 1920x1080, x264's default key frames (up to 8.3 s apart)", gopDefault, positions);
    return 0;
}
