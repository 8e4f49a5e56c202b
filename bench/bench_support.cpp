#include "bench_support.h"

#include "platform/wave_out.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace bench {

Xvfb::Xvfb(const QString &screen)
{
    // 96 DPI, so that neither Qt nor mpv scales its window for a high-resolution screen.
    // A display number below 10: from 10 on, mpv's x11 output takes the display for a
    // remote one and turns shared memory off, which would handicap it.
    for (int n = 1; n < 10; ++n) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))
            || QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
            continue;
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral(":%1").arg(n), "-screen", "0", screen, "-dpi", "96", "-nolisten", "tcp"});
        if (!m_server.waitForStarted(3000))
            return;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                display = QStringLiteral(":%1").arg(n);
                return;
            }
            QThread::msleep(20);
        }
        m_server.kill();
        m_server.waitForFinished();
    }
}

Xvfb::~Xvfb()
{
    m_server.terminate();
    m_server.waitForFinished(3000);
}

QString clip(const QString &name)
{
    const QString dir = QStringLiteral(PLOVANA_TEST_MEDIA_DIR);
    // Once a run: the script remakes the clips only when it has changed since it made them.
    static const bool made = [&] {
        QProcess::execute(QStringLiteral("bash"),
                          {QStringLiteral(PLOVANA_SOURCE_DIR "/tests/media/make-clips.sh"), dir});
        return true;
    }();
    (void)made;
    return dir + u'/' + name;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString spread(const std::vector<double> &v, int decimals)
{
    if (v.empty())
        return QStringLiteral("-");
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    return QStringLiteral("%1 (%2-%3)")
        .arg(median(v), 0, 'f', decimals)
        .arg(*lo, 0, 'f', decimals)
        .arg(*hi, 0, 'f', decimals);
}

} // namespace bench

namespace bench {

PlayerServices services(const QString &stateDir)
{
    PlayerServices s;
    s.movieBackend = makeMpvBackend;
    s.realBackend = makeMpvBackend;
    s.dialogs = makeQtDialogs();
    s.waveOut = platform::makeNullWaveOut();
    s.appDir = stateDir;
    s.workingDir = stateDir;
    return s;
}

bool connectToMpv(QLocalSocket &sock, const QString &socketPath)
{
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 5000) {
        sock.connectToServer(socketPath);
        if (sock.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

std::optional<QJsonObject> mpvRequest(QLocalSocket &sock, const QJsonObject &request,
                                      const std::function<bool(const QJsonObject &)> &answer, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    sock.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    sock.flush();
    QByteArray buffer;
    while (t.elapsed() < timeoutMs) {
        if (!sock.waitForReadyRead(500))
            continue;
        buffer += sock.readAll();
        qsizetype nl;
        while ((nl = buffer.indexOf('\n')) >= 0) {
            const QJsonObject msg = QJsonDocument::fromJson(buffer.left(nl)).object();
            buffer.remove(0, nl + 1);
            if (answer(msg))
                return msg;
        }
    }
    return std::nullopt;
}

double mpvCommandMs(QLocalSocket &sock, const QJsonArray &command)
{
    QElapsedTimer t;
    t.start();
    const auto restart = mpvRequest(sock, QJsonObject{{"command", command}}, [](const QJsonObject &msg) {
        return msg.value("event").toString() == u"playback-restart";
    });
    return restart ? static_cast<double>(t.nsecsElapsed()) / 1e6 : -1;
}

bool useDisplay(const Xvfb &x)
{
    if (x.display.isEmpty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return false;
    }
    qputenv("DISPLAY", x.display.toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("PLOVANA_MPV_AO", "null");
    return true;
}

} // namespace bench
