#include "widgets/desktop_shell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

namespace {

class FreedesktopShell final : public DesktopShell
{
public:
    void showItemProperties(const QString &file, std::function<void()> failed) override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            // Reported as a reply would be: after the caller has finished.
            QTimer::singleShot(0, [failed = std::move(failed)] {
                if (failed)
                    failed();
            });
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
        call << QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)} << QString();
        // Never waited for: a file manager that is slow to start must not freeze the window.
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyTimeoutMs));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                         [failed = std::move(failed)](QDBusPendingCallWatcher *w) {
                             const bool error = w->isError();
                             w->deleteLater();
                             if (error && failed)
                                 failed();
                         });
    }

    void openFolder(const QString &folder) override
    {
        if (!folder.isEmpty())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    }

    void openUrl(const QUrl &url) override { QDesktopServices::openUrl(url); }

private:
    static constexpr int kReplyTimeoutMs = 10000;
};

} // namespace

std::shared_ptr<DesktopShell> makeDesktopShell() { return std::make_shared<FreedesktopShell>(); }
