#include "app/shutdown_signals.h"

#include "app/player.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

} // namespace

void endOnSignals(Player *player)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, player);
        QObject::connect(notifier, &QSocketNotifier::activated, player, [player, notifier] {
            char c = 0;
            [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
            notifier->setEnabled(false);
            player->close();
        });
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            sigaction(sig, &sa, nullptr);
    }
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, player,
                     [player](QSessionManager &) { player->Form_Unload(); });
}
