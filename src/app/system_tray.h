#pragma once
// The desktop's notification area, as the main window's icon there needs it: whether the
// desktop has one, putting an icon with its tip there, taking it away, and the clicks and
// context requests on it. The program uses the Qt one; the window tests pass a double.

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class QIcon;

class SystemTray : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether the desktop has a notification area at all.
    virtual bool isAvailable() const = 0;
    // Puts the icon with this tip into the notification area.
    virtual void showIcon(const QIcon &icon, const QString &tip) = 0;
    // Takes the icon away again; nothing when it is not there.
    virtual void removeIcon() = 0;

Q_SIGNALS:
    // A click, double click or context request on the icon.
    void activated(QSystemTrayIcon::ActivationReason reason);
};

// The desktop's own notification area (QSystemTrayIcon).
std::shared_ptr<SystemTray> makeQtSystemTray();
