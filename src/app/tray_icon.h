#pragma once
// The main window's icon in the notification area (`TaskIcon`): added once after start-up
// with the window's icon and the tip "Plovana", removed at shutdown. A click on it hides
// the window or brings it back; a context request pops up the main popup `menu`. Where
// the desktop has no notification area, nothing is shown and the window is never hidden
// behind an icon that is not there.

#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class MainMenu;
class QWidget;
class SystemTray;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(QWidget &window, std::shared_ptr<SystemTray> tray, MainMenu &menu);

    // `addTrayIcon`: puts the icon there, once; nothing without a notification area.
    void addTrayIcon();
    // `removeTrayIcon`: takes it away; nothing when it was never added.
    void removeTrayIcon();
    // Whether the icon is in the notification area now, so that a hidden window can be
    // brought back through it.
    bool isShown() const { return m_shown; }
    // Hides a visible window; shows a hidden one as it was before it was minimised,
    // raised and active.
    void toggleWindow();
    // Brings the window to the front: shown (also when it is hidden to the icon or
    // minimised), raised and active.
    void bringBackWindow();
    // Hides the minimised window, so that only the icon remains; nothing without the icon.
    void hideMinimisedWindow();

    // Clicks on the icon closer together than this many milliseconds count as one (the
    // desktop's double-click interval).
    int clickBurstMs() const { return m_clickBurstMs; }
    void setClickBurstMs(int ms) { m_clickBurstMs = ms; }

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    QWidget &m_window;
    std::shared_ptr<SystemTray> m_tray;
    MainMenu &m_menu;
    bool m_added = false;
    bool m_shown = false;
    QElapsedTimer m_lastToggle;
    int m_clickBurstMs;
};
