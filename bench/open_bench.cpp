// openMedia to the first frame painted inside a running program, against mpv loading the
// same clip in a running mpv (loadfile over its IPC socket until playback restarts),
// under the same Xvfb.
#include "bench_support.h"

#include "app/player.h"
#include "dialogs/dialogs.h"
#include "platform/wave_out.h"
#include "playback/cmovie.h"
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
#include <QTimer>

#include <clocale>
#include <cstdio>

namespace {

double oursMs(Player &player, const QString &file)
{
    // The first frame painted once the file has loaded is the file's own.
    QElapsedTimer t;
    bool loaded = false;
    double ms = -1;
    MediaBackend *engine = player.video()->movie()->backend();
    const auto l = QObject::connect(engine, &MediaBackend::loaded, [&] { loaded = true; });
    const auto c = QObject::connect(&player, &Player::framePainted, [&] {
        if (loaded && ms < 0)
            ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    });
    t.start();
    player.openMedia(file, 0);
    while (ms < 0 && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QObject::disconnect(c);
    QObject::disconnect(l);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    bench::Xvfb x;
    if (!bench::useDisplay(x))
        return 1;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString a = bench::clip(QStringLiteral("clip.avi"));
    const QString b = bench::clip(QStringLiteral("clip.mpg"));

    QTemporaryDir state;
    Player player(bench::services(state.path()));
    player.Form_Load();

    std::vector<double> ours;
    oursMs(player, b); // the engine starts on the first open
    for (int i = 0; i < runs; ++i)
        ours.push_back(oursMs(player, i % 2 ? b : a));

    QTemporaryDir ipcDir;
    const QString socketPath = ipcDir.filePath("mpv.sock");
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), {"--no-config", "--idle=yes", "--no-audio", "--vo=x11", "--really-quiet",
                                      "--force-window=yes", "--input-ipc-server=" + socketPath});
    QLocalSocket sock;
    bench::connectToMpv(sock, socketPath);
    std::vector<double> theirs;
    if (sock.state() == QLocalSocket::ConnectedState) {
        bench::mpvCommandMs(sock, QJsonArray{"loadfile", b, "replace"}); // warm-up
        for (int i = 0; i < runs; ++i)
            theirs.push_back(bench::mpvCommandMs(sock, QJsonArray{"loadfile", i % 2 ? b : a, "replace"}));
    }
    mpv.terminate();
    mpv.waitForFinished(3000);
    player.close();

    const double m1 = bench::median(ours), m2 = bench::median(theirs);
    std::printf("open to first frame (median of %d): plovana %.1f ms, mpv %.1f ms, ratio %.2f\n", runs, m1, m2,
                m2 > 0 ? m1 / m2 : 0.0);
    return 0;
}
