// Frames painted per second while a 30 fps clip plays full screen on a 1920 × 1080 screen,
// Plovana (in this process, counting the frames its video surface paints) beside the mpv
// command-line player with its x11 output in full screen (displayed frames over IPC: frame
// number advanced less frames dropped), in the same run, interleaved.
//
//   fullscreen_bench [runs] [seconds]
//
// A frame rate near 30 means nothing is dropped; the picture is scaled from 1280 × 720 to
// the whole screen on both sides.
#include "bench_support.h"

#include "app/player.h"
#include "playback/cmovie.h"
#include "widgets/controls.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <clocale>
#include <cstdio>

namespace {

QString fullScreenClip()
{
    const QString dir = QStringLiteral(PLOVANA_TEST_MEDIA_DIR "/bench");
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/fullscreen-720p30.mp4");
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "making %s\n", qPrintable(path));
        QProcess::execute(QStringLiteral("ffmpeg"),
                          {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=s=1280x720:r=30:d=30", "-f", "lavfi",
                           "-i", "sine=f=440:d=30", "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                           "-c:a", "aac", path});
    }
    return path;
}

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QSize shownSize;

double oursFps(Player &player, const QString &file, int seconds)
{
    player.openMedia(file, 0);
    player.windowModes()->enterFullScreen();
    pump(2000); // the switch and the first frames
    shownSize = player.video()->display()->size();
    int frames = 0;
    const auto c = QObject::connect(&player, &Player::framePainted, [&] { ++frames; });
    QElapsedTimer t;
    t.start();
    pump(seconds * 1000);
    const double elapsed = static_cast<double>(t.nsecsElapsed()) / 1e9;
    QObject::disconnect(c);
    player.windowModes()->leaveFullScreen();
    player.stop_Click();
    pump(300);
    return frames / elapsed;
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

double mpvFps(const QString &file, int seconds)
{
    QTemporaryDir ipcDir;
    const QString socketPath = ipcDir.filePath("mpv.sock");
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), {"--no-config", "--vo=x11", "--fs", "--ao=null", "--really-quiet",
                                      "--input-ipc-server=" + socketPath, file});
    QLocalSocket sock;
    double fps = -1;
    if (bench::connectToMpv(sock, socketPath)) {
        QThread::msleep(2000);
        const double f0 = mpvProperty(sock, "estimated-frame-number");
        const double d0 = mpvProperty(sock, "frame-drop-count");
        QElapsedTimer t;
        t.start();
        QThread::msleep(static_cast<unsigned long>(seconds) * 1000);
        const double f1 = mpvProperty(sock, "estimated-frame-number");
        const double d1 = mpvProperty(sock, "frame-drop-count");
        const double elapsed = static_cast<double>(t.nsecsElapsed()) / 1e9;
        if (f0 >= 0 && f1 >= 0)
            fps = ((f1 - f0) - (d1 >= 0 && d0 >= 0 ? d1 - d0 : 0)) / elapsed;
    }
    mpv.terminate();
    mpv.waitForFinished(3000);
    return fps;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    bench::Xvfb x(QStringLiteral("1920x1080x24"));
    if (!bench::useDisplay(x))
        return 1;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString file = fullScreenClip();

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();

    std::vector<double> ours, theirs;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(oursFps(player, file, seconds));
        theirs.push_back(mpvFps(file, seconds));
    }
    player.close();

    std::printf("full screen 1920 x 1080, 30 fps clip, painted frames per second (median (min-max) of %d):\n", runs);
    std::printf("  plovana %s (video area %d x %d)\n  mpv --vo=x11 --fs %s\n", qPrintable(bench::spread(ours, 1)),
                shownSize.width(), shownSize.height(), qPrintable(bench::spread(theirs, 1)));
    return 0;
}
