// CPU time and peak memory while a clip plays at the same picture size, Plovana against the
// mpv command-line player with its x11 output (and with no video output at all: the floor
// that decoding alone costs). Each row runs as its own process under the same Xvfb, the
// rows interleaved run by run; both sides decode the clip's audio into a null output.
//
//   playback_bench [runs] [seconds]
//
// Frames presented a second over the same span: for Plovana the video surface's own count
// of frames put on screen (PLOVANA_FRAME_COUNT_FILE), for mpv's x11 output its frame number's
// advance less the frames it dropped (over its IPC socket). A path that drops frames is not
// cheaper. Where the build has xcb's damage extension, every row is also counted by the X
// server itself: its damage reports on the root window whose rectangle covers at least half
// the picture (a frame put on screen), in the column "damage/s".
//
// CPU is user + system time from /proc/<pid>/stat over `seconds` of playback after a
// two-second warm-up, given per 10 s; peak RSS is VmHWM from /proc/<pid>/status. The
// picture size of every row is measured on the screen: the clips carry a magenta border,
// whose bounding box in a screenshot of the root window is the picture.
#include "bench_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <thread>
#include <sys/socket.h>
#include <unistd.h>

#ifdef PLOVANA_HAVE_XCB_DAMAGE
#include <xcb/damage.h>
#include <xcb/xcb.h>
#endif

namespace {

constexpr QSize kPicture{1280, 720};

struct Clip
{
    QString name;
    QString path;
    QString label;
};

QString benchMedia()
{
    const QString dir = QStringLiteral(PLOVANA_TEST_MEDIA_DIR "/bench");
    QDir().mkpath(dir);
    return dir;
}

// 20 s clips with a 12-pixel magenta border and a tone, made once per build folder.
Clip makeClip(const QString &file, const QString &size, const QStringList &codec, const QString &label)
{
    const QString path = benchMedia() + u'/' + file;
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "making %s\n", qPrintable(path));
        QStringList args{"-v", "error", "-y", "-f", "lavfi", "-i",
                         QStringLiteral("testsrc2=s=%1:r=30:d=20,drawbox=x=0:y=0:w=iw:h=ih:color=0xFF00FF:t=12").arg(size),
                         "-f", "lavfi", "-i", "sine=f=440:d=20"};
        args << codec << path;
        QProcess::execute(QStringLiteral("ffmpeg"), args);
    }
    return {file, path, label};
}

struct Sample
{
    double cpuPer10s = -1;
    double peakMb = -1;
    double fps = -1;
    double damageFps = -1;
    QSize picture;
};

// Counts the X server's damage reports over the root window that cover at least `area`
// pixels: each frame a player puts on screen is one such report (a shared-memory put of
// the picture, or a buffer swap of its window).
class DamageCounter
{
public:
#ifdef PLOVANA_HAVE_XCB_DAMAGE
    explicit DamageCounter(const QString &display, int area) : m_area(area)
    {
        m_conn = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (!m_conn || xcb_connection_has_error(m_conn))
            return;
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(m_conn, &xcb_damage_id);
        if (!ext || !ext->present)
            return;
        m_event = ext->first_event + XCB_DAMAGE_NOTIFY;
        xcb_damage_query_version_reply_t *v =
            xcb_damage_query_version_reply(m_conn, xcb_damage_query_version(m_conn, 1, 1), nullptr);
        if (!v)
            return;
        std::free(v);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        const xcb_damage_damage_t damage = xcb_generate_id(m_conn);
        xcb_damage_create(m_conn, damage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(m_conn);
        m_ok = true;
        m_thread = std::thread([this] {
            while (xcb_generic_event_t *e = xcb_wait_for_event(m_conn)) {
                if ((e->response_type & 0x7f) == m_event) {
                    const auto *d = reinterpret_cast<xcb_damage_notify_event_t *>(e);
                    if (int(d->area.width) * int(d->area.height) >= m_area)
                        ++m_count;
                }
                std::free(e);
            }
        });
    }
    ~DamageCounter()
    {
        if (m_conn) {
            // Ends the reader's wait: the connection is shut down under it.
            ::shutdown(xcb_get_file_descriptor(m_conn), SHUT_RDWR);
            if (m_thread.joinable())
                m_thread.join();
            xcb_disconnect(m_conn);
        }
    }
#else
    DamageCounter(const QString &, int) {}
#endif
    bool ok() const { return m_ok; }
    long long count() const { return m_count; }

private:
#ifdef PLOVANA_HAVE_XCB_DAMAGE
    xcb_connection_t *m_conn = nullptr;
    std::uint8_t m_event = 0;
    int m_area = 0;
    std::thread m_thread;
#endif
    bool m_ok = false;
    std::atomic<long long> m_count{0};
};

// How frames presented are counted for a row.
enum class FrameCount { None, SurfaceCount, MpvIpc };

// The count Plovana keeps in its frame-count file; -1 before the first frame.
double surfaceFrames(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const double n = f.readAll().trimmed().toDouble(&ok);
    return ok ? n : -1;
}

// One property of a running mpv over its IPC socket; -1 when it does not answer.
double mpvProperty(QLocalSocket &sock, const QString &name)
{
    static int id = 100;
    const int request = ++id;
    const auto reply = bench::mpvRequest(
        sock, QJsonObject{{"command", QJsonArray{"get_property", name}}, {"request_id", request}},
        [request](const QJsonObject &msg) { return msg.value("request_id").toInt() == request; }, 3000);
    return reply ? reply->value("data").toDouble(-1) : -1;
}

// mpv's frames shown so far: frame number less frames dropped.
double mpvFrames(QLocalSocket &sock)
{
    const double f = mpvProperty(sock, QStringLiteral("estimated-frame-number"));
    const double d = mpvProperty(sock, QStringLiteral("frame-drop-count"));
    return f < 0 ? -1 : f - std::max(0.0, d);
}

double cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = f.readAll();
    // Fields after the command name (which may hold spaces) start after the last ')'.
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (fields[11].toDouble() + fields[12].toDouble()) / ticks; // utime, stime
}

double peakRssMb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// The bounding box of the magenta border on the screen.
QSize pictureOnScreen()
{
    const QImage img = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = row[x];
            if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) > 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return {right - left + 1, bottom - top + 1};
}

Sample measure(const QString &program, QStringList args, QProcessEnvironment env, int seconds, bool grab,
               FrameCount count)
{
    Sample s;
    DamageCounter damage(env.value(QStringLiteral("DISPLAY")), kPicture.width() * kPicture.height() / 2);
    QTemporaryDir work;
    const QString countFile = work.filePath(QStringLiteral("frames"));
    const QString socketPath = work.filePath(QStringLiteral("mpv.sock"));
    if (count == FrameCount::SurfaceCount)
        env.insert(QStringLiteral("PLOVANA_FRAME_COUNT_FILE"), countFile);
    else if (count == FrameCount::MpvIpc)
        args.prepend(QStringLiteral("--input-ipc-server=") + socketPath);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return s;
    QLocalSocket sock;
    const bool ipc = count == FrameCount::MpvIpc && bench::connectToMpv(sock, socketPath);
    auto frames = [&]() -> double {
        if (count == FrameCount::SurfaceCount)
            return surfaceFrames(countFile);
        return ipc ? mpvFrames(sock) : -1;
    };
    QThread::msleep(2000);
    const double c0 = cpuSeconds(p.processId());
    const double f0 = frames();
    const long long d0 = damage.count();
    QElapsedTimer t;
    t.start();
    if (grab)
        s.picture = pictureOnScreen();
    QThread::msleep(static_cast<unsigned long>(seconds) * 1000);
    const double c1 = cpuSeconds(p.processId());
    const double f1 = frames();
    const long long d1 = damage.count();
    const double elapsed = static_cast<double>(t.nsecsElapsed()) / 1e9;
    s.peakMb = peakRssMb(p.processId());
    if (c0 >= 0 && c1 >= 0)
        s.cpuPer10s = (c1 - c0) * 10.0 / seconds;
    if (f0 >= 0 && f1 >= 0)
        s.fps = (f1 - f0) / elapsed;
    if (damage.ok())
        s.damageFps = static_cast<double>(d1 - d0) / elapsed;
    p.terminate();
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
    }
    return s;
}

// A state folder whose config.ini gives the window `w` × `h` pixels (outer size), the list
// pane hidden, the picture fitted with its aspect kept and normal speed (a missing
// PlaySpeed reads as 0, which is 2.0×: twice the frames of mpv's run).
void writeConfig(const QString &dir, int w, int h)
{
    QFile f(dir + QStringLiteral("/config.ini"));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QStringLiteral("[Position]\r\nLeft=0\r\nTop=0\r\nWidth=%1\r\nHeight=%2\r\nListWidth=3000\r\n"
                           "[option]\r\nAutoAdjust=1\r\n[other]\r\nListVisible=0\r\nWindowState=0\r\nPlaySpeed=2\r\n")
                .arg(w * 15)
                .arg(h * 15)
                .toUtf8());
}

struct Row
{
    QString label;
    QString program;
    QStringList args;
    QProcessEnvironment env;
    FrameCount count = FrameCount::None;
    std::vector<double> cpu, rss, fps, damageFps;
    QSize picture;
};

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int seconds = argc > 2 ? std::max(2, std::atoi(argv[2])) : 10;
    bench::Xvfb x(QStringLiteral("1920x1200x24")); // before the application object, which connects to it
    if (x.display.isEmpty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    qputenv("DISPLAY", x.display.toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);

    const Clip clips[] = {
        makeClip(QStringLiteral("h264-1080p.mp4"), QStringLiteral("1920x1080"),
                 {"-c:v", "libx264", "-preset", "veryfast", "-crf", "20", "-pix_fmt", "yuv420p", "-c:a", "aac"},
                 QStringLiteral("H.264 1920x1080")),
        makeClip(QStringLiteral("mpeg4-720p.avi"), QStringLiteral("1280x720"),
                 {"-c:v", "mpeg4", "-q:v", "3", "-c:a", "ac3"}, QStringLiteral("MPEG-4 1280x720")),
    };

    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    base.insert("DISPLAY", x.display);
    base.insert("QT_QPA_PLATFORM", "xcb");
    base.insert("PLOVANA_MIXER", "none");
    base.insert("PLOVANA_MPV_AO", "null");

    QTemporaryDir state;
    std::printf("playback_bench: %d runs of %d s per row, display %s, picture %dx%d\n", runs, seconds,
                qPrintable(x.display), kPicture.width(), kPicture.height());
    for (const Clip &clip : clips) {
        // Size Plovana's window so that its picture is 1280 x 720: measure once, correct by
        // the difference, measure again.
        int w = kPicture.width() + 40, h = kPicture.height() + 260;
        QSize seen;
        for (int attempt = 0; attempt < 3; ++attempt) {
            writeConfig(state.path(), w, h);
            QProcessEnvironment env = base;
            env.insert("PLOVANA_APPDIR", state.path());
            env.insert("PLOVANA_VIDEO", "sw");
            seen = measure(QStringLiteral(PLOVANA_EXE_PATH), {clip.path}, env, 1, true, FrameCount::None).picture;
            if (seen.isEmpty() || seen.width() == kPicture.width())
                break;
            w += kPicture.width() - seen.width();
        }
        std::printf("\n%s: Plovana's window %dx%d shows the picture at %dx%d\n", qPrintable(clip.label), w, h,
                    seen.width(), seen.height());

        std::vector<Row> rows;
        for (const char *path : {"sw", "gl"}) {
            Row r{QStringLiteral("plovana PLOVANA_VIDEO=%1").arg(path), QStringLiteral(PLOVANA_EXE_PATH), {clip.path}, base,
                  FrameCount::SurfaceCount, {}, {}, {}, {}, {}};
            r.env.insert("PLOVANA_VIDEO", path);
            r.env.insert("PLOVANA_APPDIR", state.path());
            rows.push_back(r);
        }
        const QString geometry = QStringLiteral("--geometry=%1x%2+0+0").arg(kPicture.width()).arg(kPicture.height());
        rows.push_back({QStringLiteral("mpv --vo=x11"), QStringLiteral("mpv"),
                        {"--no-config", "--vo=x11", "--ao=null", geometry, "--really-quiet", clip.path}, base,
                        FrameCount::MpvIpc, {}, {}, {}, {}, {}});
        rows.push_back({QStringLiteral("mpv --vo=null (decoding)"), QStringLiteral("mpv"),
                        {"--no-config", "--vo=null", "--ao=null", "--really-quiet", clip.path}, base,
                        FrameCount::None, {}, {}, {}, {}, {}});

        for (int run = 0; run < runs; ++run) {
            for (Row &r : rows) {
                const Sample s = measure(r.program, r.args, r.env, seconds, run == 0, r.count);
                if (s.cpuPer10s >= 0)
                    r.cpu.push_back(s.cpuPer10s);
                if (s.peakMb >= 0)
                    r.rss.push_back(s.peakMb);
                if (s.fps >= 0)
                    r.fps.push_back(s.fps);
                if (s.damageFps >= 0)
                    r.damageFps.push_back(s.damageFps);
                if (run == 0)
                    r.picture = s.picture;
                std::fprintf(stderr, "  run %d %s: %.2f s, %.0f MB, %.1f frames/s\n", run + 1, qPrintable(r.label),
                             s.cpuPer10s, s.peakMb, s.fps);
            }
        }
        const double mpvCpu = bench::median(rows[2].cpu), mpvRss = bench::median(rows[2].rss);
        std::printf("%-28s %-11s %-20s %-20s %-24s %-8s %-24s %-8s\n", "", "picture", "frames/s", "damage/s",
                    "CPU s per 10 s", "x mpv", "peak RSS MB", "x mpv");
        for (const Row &r : rows) {
            const QString pic = r.picture.isEmpty() ? QStringLiteral("-")
                                                    : QStringLiteral("%1x%2").arg(r.picture.width()).arg(r.picture.height());
            const QString fps = r.fps.empty() ? QStringLiteral("-") : bench::spread(r.fps, 1);
            const QString dfps = r.damageFps.empty() ? QStringLiteral("-") : bench::spread(r.damageFps, 1);
            std::printf("%-28s %-11s %-20s %-20s %-24s %-8.2f %-24s %-8.2f\n", qPrintable(r.label), qPrintable(pic),
                        qPrintable(fps), qPrintable(dfps), qPrintable(bench::spread(r.cpu, 2)), mpvCpu > 0 ? bench::median(r.cpu) / mpvCpu : 0.0,
                        qPrintable(bench::spread(r.rss, 0)), mpvRss > 0 ? bench::median(r.rss) / mpvRss : 0.0);
        }
    }
    return 0;
}
