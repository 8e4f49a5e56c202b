#pragma once
// A notification-area double: says whether the desktop has one, records the icon put there
// and taken away, and lets a test click on it or ask for its context menu.

#include "app/system_tray.h"

#include <QIcon>
#include <QStringList>

namespace fakes {

class FakeSystemTray final : public SystemTray
{
public:
    bool available = true;
    int shows = 0;   // how often an icon was put there
    int removes = 0; // how often it was taken away
    bool shown = false;
    QIcon icon;
    QString tip;

    bool isAvailable() const override { return available; }
    void showIcon(const QIcon &i, const QString &t) override
    {
        ++shows;
        shown = true;
        icon = i;
        tip = t;
    }
    void removeIcon() override
    {
        ++removes;
        shown = false;
    }
    void click(QSystemTrayIcon::ActivationReason reason) { Q_EMIT activated(reason); }
};

} // namespace fakes
