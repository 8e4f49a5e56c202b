// config.ini: read once at start-up, each room applying its own keys (loadConfig), and
// gathered from the rooms and written once at shutdown (saveConfig).
#include "app/player.h"

#include "app/config_autosave.h"
#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"
#include "platform/file_system.h"
#include "platform/my_module.h"
#include "platform/profile.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/config_values.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <cmath>


void Player::loadConfig()
{
    const ConfigValues c = readConfig(platform::IniDocument::load(m_appDir + QStringLiteral("config.ini")));
    // Each room applies its own keys; a value that a control refuses is skipped and loading
    // goes on.
    m_windowModes->restoreConfig(c);
    m_playback->restoreConfig(c);
    m_options->restoreConfig(c);
    m_files->restoreConfig(c, m_appDir);
    m_controls->restoreConfig(c);

    // The window's outer rectangle, in pixels. The frame is known only once the window
    // is mapped; start-up then corrects the size by the frame (correctForFrame).
    move(static_cast<int>(std::lround(double(c.Left) / myModule::twipsPerPixelX)),
         static_cast<int>(std::lround(double(c.Top) / myModule::twipsPerPixelY)));
    setWindowWidth(c.Width);
    setWindowHeight(c.Height);
    m_frameApplied = currentFrame();
    if (c.WindowState == 1 || c.WindowState == 2)
        m_outerFromConfig = QRect(c.Left, c.Top, windowWidth(), windowHeight());

    m_listPane->restoreConfig(c);
    if (c.ListVisible == 0)
        hideListPane();

    switch (c.WindowState) {
    case 0:
        setWindowState(Qt::WindowNoState);
        break;
    case 1:
        setWindowState(Qt::WindowMinimized);
        break;
    case 2:
        setWindowState(Qt::WindowMaximized);
        break;
    default:
        break; // refused
    }
    QCoreApplication::processEvents();

    m_favourites->restoreConfig(c);
}

QMargins Player::currentFrame() const
{
    const int fw = twips::toPixelsX(myModule::frameWidth);
    const int fh = twips::toPixelsY(myModule::frameHeight);
    return QMargins(fw, twips::toPixelsY(myModule::captionHeight) + fh, fw, fh);
}

void Player::frameMayHaveChanged()
{
    // The window manager's frame arrives some time after the window is mapped (and may
    // change with its theme): it is measured on the decorated normal window only.
    if (!m_loaded || (windowFlags() & Qt::FramelessWindowHint) || m_windowModes->inFullScreen() || isFullScreen()
        || isMinimized() || isMaximized())
        return;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    if (outer == inner)
        return; // not known yet
    const int side = twips::fromPixelsX((outer.width() - inner.width()) / 2);
    const int bottom = twips::fromPixelsY(outer.bottom() - inner.bottom());
    const int caption = twips::fromPixelsY(inner.top() - outer.top()) - bottom;
    if (side == myModule::frameWidth && bottom == myModule::frameHeight && caption == myModule::captionHeight)
        return;
    myModule::initScreenMetrics(this);
    correctForFrame();
}

void Player::correctForFrame()
{
    const QMargins now = currentFrame();
    const QMargins delta = now - m_frameApplied;
    if (delta.isNull())
        return;
    if (isMaximized() || isMinimized()) {
        m_frameCorrectionPending = true; // applied when the window is restored
        return;
    }
    m_frameApplied = now;
    m_frameCorrectionPending = false;
    resize(std::max(1, width() - delta.left() - delta.right()),
           std::max(1, height() - delta.top() - delta.bottom()));
}

void Player::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange)
        return;
    if (!isMaximized() && !isMinimized() && !isFullScreen()) {
        if (m_loaded)
            m_outerFromConfig = QRect(); // restored: the window manager has placed it
        if (m_frameCorrectionPending)
            correctForFrame();
    }
    // Minimising sends no resize event: the resize handler hears of it here.
    Form_Resize();
}

ConfigValues Player::currentConfig() const
{
    // What shutdown would write, gathered without leaving full screen or mini mode: the
    // window's rectangle is the normal window's last one while it is not normal.
    ConfigValues c;
    m_windowModes->saveConfig(c);
    const Qt::WindowStates state = windowState();
    c.WindowState = state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0;
    QRect outer = m_lastNormalOuter;
    if (c.WindowState == 0 && m_windowModes->windowMode() == WindowMode::Normal && isVisible())
        outer = outerRect();
    else if (c.WindowState != 0 && !m_outerFromConfig.isNull())
        outer = m_outerFromConfig;
    if (outer.isNull())
        outer = outerRect();
    c.Left = outer.left();
    c.Top = outer.top();
    c.Width = outer.width();
    c.Height = outer.height();
    const bool small = m_windowModes->smallMode() && m_windowModes->listVisibleBeforeSmall();
    c.ListVisible = m_listPane->paneVisible() || small ? 1 : 0;
    m_files->saveConfig(c);
    m_favourites->saveConfig(c);
    m_options->saveConfig(c);
    m_listPane->saveConfig(c);
    m_controls->saveConfig(c);
    m_playback->saveConfig(c);
    return c;
}

void Player::rememberNormalRect()
{
    if (!m_loaded || m_unloaded || !isVisible() || windowState() != Qt::WindowNoState
        || m_windowModes->windowMode() != WindowMode::Normal)
        return;
    m_lastNormalOuter = outerRect();
    if (m_configAutosave)
        m_configAutosave->windowMoved();
}

void Player::saveConfig()
{
    ConfigValues c;
    bool listShown = m_listPane->paneVisible();
    // Mini mode and always on top, before the modes are left.
    m_windowModes->saveConfig(c);
    m_windowModes->stopEnteringSmallMode();

    if (m_windowModes->inFullScreen())
        m_windowModes->leaveFullScreen();

    const Qt::WindowStates state = windowState();
    const int windowStateValue = state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0;
    // A window started maximised or minimised and never restored writes back the
    // rectangle it was given: Qt's normal geometry for it is its client area put at the
    // frame's corner, which would move it up by its title bar at every start.
    const QRect configured = windowStateValue != 0 ? m_outerFromConfig : QRect();
    if (windowStateValue != 0) {
        const QRect normal = normalGeometry();
        showNormal();
        if (normal.isValid() && geometry() != normal)
            setGeometry(normal);
    }

    if (m_windowModes->smallMode()) {
        if (m_windowModes->listVisibleBeforeSmall())
            listShown = true;
        m_windowModes->leaveSmallMode();
    }
    if (!m_listPane->paneVisible())
        showListPane();

    c.Left = windowLeft();
    c.Top = windowTop();
    c.Width = windowWidth();
    c.Height = windowHeight();
    if (!configured.isNull()) {
        c.Left = configured.left();
        c.Top = configured.top();
        c.Width = configured.width();
        c.Height = configured.height();
    }
    c.WindowState = windowStateValue;
    c.ListVisible = listShown ? 1 : 0;
    // Each room gathers its own keys.
    m_files->saveConfig(c);
    m_favourites->saveConfig(c);
    m_options->saveConfig(c);
    m_listPane->saveConfig(c);
    m_controls->saveConfig(c);
    m_playback->saveConfig(c);
    // One write of the whole file: one replace of config.ini per shutdown.
    saveConfigFile(c, m_appDir + QStringLiteral("config.ini"));

    m_playback->nowPlaying().restoreWaveVolume();
}
