#include "app/tray_icon.h"

#include "app/system_tray.h"
#include "input/main_menu.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

TrayIcon::TrayIcon(QWidget &window, std::shared_ptr<SystemTray> tray, MainMenu &menu)
    : QObject(&window), m_window(window), m_tray(std::move(tray)), m_menu(menu),
      m_clickBurstMs(QApplication::doubleClickInterval())
{
    connect(m_tray.get(), &SystemTray::activated, this, &TrayIcon::activated);
}

void TrayIcon::addTrayIcon()
{
    if (m_added)
        return;
    m_added = true;
    if (!m_tray->isAvailable())
        return;
    m_tray->showIcon(m_window.windowIcon(), QStringLiteral("Plovana"));
    m_shown = true;
}

void TrayIcon::removeTrayIcon()
{
    if (!m_shown)
        return;
    m_tray->removeIcon();
    m_shown = false;
}

void TrayIcon::toggleWindow()
{
    if (m_window.isVisible()) {
        m_window.hide();
        return;
    }
    // Shown minimised it would only be a button on the taskbar: bring it back as it was
    // before (normal or maximised; the maximised flag is kept while minimised).
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void TrayIcon::bringBackWindow()
{
    if (m_window.isVisible() && !m_window.isMinimized()) {
        m_window.raise();
        m_window.activateWindow();
        return;
    }
    if (m_window.isVisible())
        m_window.hide(); // minimised: shown again below, as it was before
    toggleWindow();
}

void TrayIcon::hideMinimisedWindow()
{
    if (!m_shown)
        return;
    // After the state change has run its course: showMinimized() shows the window again
    // right after setting the state.
    QTimer::singleShot(0, this, [this] {
        if (m_shown && m_window.isMinimized() && m_window.isVisible())
            m_window.hide();
    });
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (!m_shown)
        return;
    switch (reason) {
    case QSystemTrayIcon::Context:
        m_menu.popUp();
        return;
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::Trigger:
        // KDE's notification area reports every click as Trigger and never a double click;
        // the X11 one reports the first press of a double click as Trigger and then the
        // double click. Either way one burst of clicks toggles the window once.
        if (m_lastToggle.isValid() && !m_lastToggle.hasExpired(m_clickBurstMs))
            return;
        m_lastToggle.start();
        toggleWindow();
        return;
    default:
        return;
    }
}
