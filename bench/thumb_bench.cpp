// Adding a folder of 200 short clips to the favourites with thumbnails on: thumbnails per
// second from the start of the add until the last one has been delivered, and the longest
// stall of the UI thread meanwhile (the longest gap between the beats of a 10 ms timer).
// Then the same add with thumbnails off ("サムネイルをロードしない" checked), the add alone.
// Beside them, ffmpegthumbnailer run once per clip, one after another (wall time), when
// the command is there. Every run gets a new window and a new state folder, so no
// thumbnail is already there when it starts.
//
// The clips are one 200 s test pattern (176×144, mpeg4, 25 fps, a key frame every second)
// cut by ffmpeg's segment muxer into 200 clips of 1 s: distinct files, distinct pictures,
// made by one ffmpeg process.
#include "bench_support.h"

#include "app/options_page.h"
#include "app/player.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "lists/thumbnail_maker.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

namespace {

constexpr int kClips = 200;
constexpr qint64 kBitmapBytes = 22554; // 100 × 75, 24 bits, rows padded to 4 bytes, headers

// Processes events for ms milliseconds, or until done() holds.
template <typename Done>
void spin(int ms, Done done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// Beats every 10 ms on the UI thread and keeps the longest gap between two beats.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    // The longest gap in milliseconds, the time since the last beat included.
    double stop()
    {
        m_timer.stop();
        m_longest = std::max(m_longest, m_clock.nsecsElapsed() - m_last);
        return static_cast<double>(m_longest) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

struct Run
{
    bool ok = false;
    double addMs = 0;       // add_selected_files until it returned
    double allMs = 0;       // start of the add until the last thumbnail was delivered
    double stallMs = 0;     // longest gap between beats over allMs
    int made = 0;           // thumbnailMade signals
    int grabbed = 0;        // of which a frame was grabbed (not the placeholder)
    int listed = 0;         // entries in the list afterwards
    int bitmaps = 0;        // .bmp files in image/ of kBitmapBytes bytes
};

// One add of every clip to the favourites of a new window with a new state folder.
Run addRun(const QString &folder, const QStringList &names, bool thumbnailsOn)
{
    Run r;
    QTemporaryDir state;
    Player player(bench::services(state.path()));
    if (!player.Form_Load()) {
        std::fprintf(stderr, "the window did not load\n");
        return r;
    }
    FavouritesPage *fav = player.favourites();
    spin(10000, [&] { return !fav->firstLoadPending() && !fav->isLoadingOkini(); });
    if (fav->firstLoadPending() || fav->isLoadingOkini()) {
        std::fprintf(stderr, "the first load of the favourites did not end\n");
        return r;
    }
    // Thumbnails off is the box checked; its handler reloads the (empty) list shown.
    player.options()->Check_loadthum()->setChecked(!thumbnailsOn);
    spin(10000, [&] { return !fav->isLoadingOkini(); });
    fav->del_all_list();
    player.listPane()->Tab1()->select(2); // the favourites page shown
    spin(300, [] { return false; });

    int grabbed = 0;
    const auto c = QObject::connect(fav->thumbnails(), &ThumbnailMaker::thumbnailMade, [&](const ThumbnailResult &res) {
        ++r.made;
        grabbed += res.ok ? 1 : 0;
    });

    StallMeter meter;
    QElapsedTimer t;
    meter.start();
    t.start();
    const bool accepted = fav->add_selected_files(folder, names);
    r.addMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    if (thumbnailsOn)
        spin(120000, [&] { return r.made >= names.size() && fav->thumbnails()->pendingCount() == 0; });
    r.allMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    r.stallMs = meter.stop();
    QObject::disconnect(c);

    r.grabbed = grabbed;
    r.listed = fav->List_okini()->count();
    const QDir images(state.filePath(QStringLiteral("image")));
    for (const QFileInfo &f : images.entryInfoList({QStringLiteral("*.bmp")}, QDir::Files))
        r.bitmaps += f.size() == kBitmapBytes ? 1 : 0;
    r.ok = accepted && r.listed == names.size()
           && (!thumbnailsOn || (r.made == names.size() && fav->thumbnails()->pendingCount() == 0));
    player.close();
    return r;
}

void printRange(const char *label, std::vector<double> v, const char *unit)
{
    if (v.empty()) {
        std::printf("  %-34s no results\n", label);
        return;
    }
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    std::printf("  %-34s median %.1f %s (%.1f–%.1f)\n", label, bench::median(v), unit, *lo, *hi);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 3);
    bench::Xvfb x;
    if (!bench::useDisplay(x))
        return 1;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("clips"));
    QDir().mkpath(folder);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-f", "lavfi", "-i",
                  QStringLiteral("testsrc=size=176x144:rate=25:duration=%1").arg(kClips), "-c:v", "mpeg4", "-g",
                  "25", "-f", "segment", "-segment_time", "1", "-reset_timestamps", "1",
                  folder + QStringLiteral("/clip %03d.avi")});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg could not make the clips\n");
        return 1;
    }
    QStringList names = QDir(folder).entryList({QStringLiteral("*.avi")}, QDir::Files, QDir::Name);
    if (names.size() != kClips) {
        std::fprintf(stderr, "ffmpeg made %lld clips, not %d\n", static_cast<long long>(names.size()), kClips);
        return 1;
    }

    std::vector<double> perSecond, allMs, stallOn, addOn, addOff, stallOff;
    bool allOk = true;
    for (int i = 0; i < runs; ++i) {
        const Run on = addRun(folder, names, true);
        const Run off = addRun(folder, names, false);
        std::printf("run %d: on: add %.1f ms, last thumbnail %.1f ms, longest stall %.1f ms, %d thumbnails "
                    "(%d grabbed), %d listed, %d bitmaps of %lld bytes; off: add %.1f ms, longest stall %.1f ms, "
                    "%d listed, %d bitmaps\n",
                    i + 1, on.addMs, on.allMs, on.stallMs, on.made, on.grabbed, on.listed, on.bitmaps,
                    static_cast<long long>(kBitmapBytes), off.addMs, off.stallMs, off.listed, off.bitmaps);
        allOk = allOk && on.ok && off.ok && on.bitmaps == kClips && off.bitmaps == 0;
        if (on.ok) {
            allMs.push_back(on.allMs);
            perSecond.push_back(on.made / (on.allMs / 1000.0));
            stallOn.push_back(on.stallMs);
            addOn.push_back(on.addMs);
        }
        if (off.ok) {
            addOff.push_back(off.addMs);
            stallOff.push_back(off.stallMs);
        }
    }

    // ffmpegthumbnailer, one process per clip, one after another.
    double theirsMs = -1;
    int theirFiles = 0;
    if (!QStandardPaths::findExecutable(QStringLiteral("ffmpegthumbnailer")).isEmpty()) {
        const QString out = work.filePath(QStringLiteral("ffmpegthumbnailer"));
        QDir().mkpath(out);
        QElapsedTimer t;
        t.start();
        for (const QString &name : names) {
            QProcess p;
            p.start(QStringLiteral("ffmpegthumbnailer"),
                    {"-s", "100", "-t", "0", "-i", folder + u'/' + name,
                     "-o", out + u'/' + QFileInfo(name).completeBaseName() + QStringLiteral(".png")});
            p.waitForFinished(30000);
        }
        theirsMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        theirFiles = static_cast<int>(QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files).size());
    }

    std::printf("%d clips of 1 s, 176x144 mpeg4 .avi, added to the favourites (%d runs; complete: %zu with thumbnails, %zu without):\n",
                kClips, runs, allMs.size(), addOff.size());
    printRange("thumbnails on: to last thumbnail", allMs, "ms");
    printRange("thumbnails on: thumbnails a second", perSecond, "/s");
    printRange("thumbnails on: longest UI stall", stallOn, "ms");
    printRange("thumbnails on: the add itself", addOn, "ms");
    printRange("thumbnails off: the add", addOff, "ms");
    printRange("thumbnails off: longest UI stall", stallOff, "ms");
    if (theirsMs >= 0)
        std::printf("  ffmpegthumbnailer -s 100 -t 0, %d clips one after another: %.1f ms, %.1f a second (%d PNGs)\n",
                    kClips, theirsMs, kClips / (theirsMs / 1000.0), theirFiles);
    else
        std::printf("  ffmpegthumbnailer not found: skipped\n");
    std::printf("  every run complete with %d bitmaps of %lld bytes (none with thumbnails off): %s\n", kClips,
                static_cast<long long>(kBitmapBytes), allOk ? "yes" : "no");
    return allOk ? 0 : 1;
}
