#pragma once
// Shared pieces of the benchmarks: an Xvfb server, the generated clips, medians.

#include "app/player_services.h"

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QJsonArray;
class QLocalSocket;

namespace bench {

// Starts Xvfb on a free display below 10; empty display name when that fails.
class Xvfb
{
public:
    explicit Xvfb(const QString &screen = QStringLiteral("1280x800x24"));
    ~Xvfb();
    QString display;

private:
    QProcess m_server;
};

// Points this process at the Xvfb server (xcb, mpv's null audio output); false, with a
// message, when the server could not be started.
bool useDisplay(const Xvfb &x);

// The generated clips (made by tests/media/make-clips.sh when missing or out of date).
QString clip(const QString &name);

double median(std::vector<double> v);
// "median (min-max)" with the given decimals.
QString spread(const std::vector<double> &v, int decimals);

// Connects to a starting mpv's IPC socket, trying for up to five seconds.
bool connectToMpv(QLocalSocket &sock, const QString &socketPath);

// Sends one JSON request to a running mpv over its IPC socket and returns the first message
// for which `answer` holds; nullopt after `timeoutMs` without one.
std::optional<QJsonObject> mpvRequest(QLocalSocket &sock, const QJsonObject &request,
                                      const std::function<bool(const QJsonObject &)> &answer, int timeoutMs = 10000);

// Sends one JSON command to a running mpv over its IPC socket and returns the milliseconds
// until its next "playback-restart" event; -1 after 10 s without one.
double mpvCommandMs(QLocalSocket &sock, const QJsonArray &command);

// The real engines and dialogs, no system mixer, state in the given folder.
PlayerServices services(const QString &stateDir);

} // namespace bench
