#include "window/window_modes.h"

#include "widgets/above_video.h"

#include "lists/list_pane.h"
#include "platform/my_module.h"
#include "platform/path.h"
#include "playback/cmovie.h"
#include "playback/media_commands.h"
#include "playback/now_playing.h"
#include "playback/playback_state.h"
#include "playback/real_control.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/controls.h"
#include "widgets/images.h"
#include "widgets/layout_math.h"
#include "widgets/options.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/video_fit.h"

#include <QAction>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QProgressBar>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace tw = twips;

namespace {

// Wayland has no stay-on-top for ordinary windows: the state is kept (check, picture and
// Temae) but the window is left as it is.
bool canStayOnTop()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

const double kScales[] = {0.0, 2.0, 1.5, 1.0, 0.75, 0.5};

} // namespace

WindowModes::WindowModes(QWidget *window, Commands &commands) : QObject(window), m_windowWidget(window), m_commands(commands)
{
    registerCommands(commands);
}

void WindowModes::registerCommands(Commands &c)
{
    m_m_size = new QMenu(QStringLiteral("再生サイズ"), m_windowWidget);
    // "Always the original size" is the options page's option, shown first here.
    m_m_size->addAction(c.add(command::originalSize, QStringLiteral("再生時は常にオリジナルサイズ"),
                            [this] { original_Click(!(m_options && m_options->originalSize())); }));
    c.setCheckedRule(command::originalSize, [this] { return m_options && m_options->originalSize(); });
    const char *sizes[] = {"フルスクリーン(Alt+Enter)", "２００％", "１５０％", "１００％(Home)", "７５％", "５０％"};
    for (int i = 0; i < 6; ++i)
        m_m_size->addAction(c.add(command::size(i), QString::fromUtf8(sizes[i]), [this, i] { size_Click(i); }));
    c.add(command::fullScreen, QStringLiteral("フルスクリーン"), [this] { enterFullScreen(); });
    c.add(command::leaveFullScreen, QStringLiteral("フルスクリーン解除"), [this] { leaveFullScreen(); });
    c.setEnabledRule(command::leaveFullScreen, [this] { return inFullScreen(); });
    c.add(command::largerVideo, QStringLiteral("拡大"), [this] { stepVideoScale(true); });
    c.add(command::smallerVideo, QStringLiteral("縮小"), [this] { stepVideoScale(false); });
    // 100 %, also with no file open (the size menu's item wants one).
    c.add(command::actualSize, QStringLiteral("１００％"), [this] { m_video->setVideoScale(1.0); });

    m_m_window = new QMenu(QStringLiteral("ウィンドウ操作"), m_windowWidget);
    m_m_window->addAction(c.add(command::topmost, QStringLiteral("常に手前表示(Ctrl+T)"),
                              [this] { m_temae_Click(!m_temaeChecked); }));
    c.setCheckedRule(command::topmost, [this] { return m_temaeChecked; });
    m_m_window->addAction(c.add(command::optimizeWindow, QStringLiteral("ｳｨﾝﾄﾞｳｻｲｽﾞ最適化(F8)"), [this] { m_saiteki_Click(); }));
    m_m_window->addAction(c.add(command::smallMode, QStringLiteral("最小表示(Ctrl+M)"), [this] { m_small_Click(); }));
}

void WindowModes::attach(const Rooms &r)
{
    m_host = &r.host;
    m_video = &r.video;
    m_controls = &r.controls;
    m_pane = &r.pane;
    m_options = &r.options;
    m_media = &r.media;
    m_state = &r.state;
    m_nowPlaying = &r.nowPlaying;
}

WindowMode WindowModes::windowMode() const
{
    return m_fullScreen ? WindowMode::FullScreen : m_smallMode ? WindowMode::Mini : WindowMode::Normal;
}

void WindowModes::modeMayHaveChanged()
{
    const WindowMode now = windowMode();
    if (now == m_reportedMode)
        return;
    m_reportedMode = now;
    m_commands.refresh();
    Q_EMIT windowModeChanged(now);
}

void WindowModes::showFileCaption()
{
    if (windowMode() == WindowMode::Normal && m_state)
        m_windowWidget->setWindowTitle(path::getfiletitle(m_state->file()));
}

QString WindowModes::fileCaption() const
{
    const QString source = m_nowPlaying ? m_nowPlaying->source() : QString();
    return source.isEmpty() ? QStringLiteral("Plovana") : path::getfiletitle(source);
}

QRect WindowModes::screenTwips() const
{
    const QScreen *screen = m_windowWidget->screen() ? m_windowWidget->screen() : QGuiApplication::primaryScreen();
    const QRect px = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    return {0, 0, tw::fromPixelsX(px.width()), tw::fromPixelsY(px.height())};
}

bool WindowModes::inFullScreen() const
{
    return m_fullScreen;
}

// ---- Window flags

void WindowModes::changeWindowFlag(Qt::WindowType flag, bool on)
{
    QWidget *w = m_windowWidget;
    if (bool(w->windowFlags() & flag) == on)
        return;
    const bool visible = w->isVisible();
    const QRect client = w->geometry();
    const Qt::WindowStates state = w->windowState();
    w->setWindowFlag(flag, on); // hides the window
    if (!visible)
        return;
    w->setGeometry(client);
    w->setWindowState(state);
    w->show();
}

void WindowModes::staysOnTop(bool on)
{
    // A full-screen window is above the others already; its flags are left alone.
    if (inFullScreen() || !canStayOnTop())
        return;
    QWidget *w = m_windowWidget;
    QWindow *native = w->windowHandle();
    if (!native || !w->isVisible()) {
        changeWindowFlag(Qt::WindowStaysOnTopHint, on);
        return;
    }
    // A shown window is told in place (the window manager's "above" state): changing the
    // widget's flags would unmap and map it again, and the window manager may place it anew
    // (a window moved up by its title bar at every start with always-on-top on).
    if (bool(w->windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const Qt::WindowFlags flags = on ? w->windowFlags() | Qt::WindowStaysOnTopHint
                                     : w->windowFlags() & ~Qt::WindowStaysOnTopHint;
    w->overrideWindowFlags(flags);
    native->setFlags(flags);
}

void WindowModes::setCaptionBar(bool show)
{
    QWidget *w = m_windowWidget;
    if (bool(w->windowFlags() & Qt::FramelessWindowHint) == !show)
        return;
    // The outer rectangle stays where it is; the client area gains or loses the frame.
    const QRect outer = m_host->outerRect();
    changeWindowFlag(Qt::FramelessWindowHint, !show);
    m_host->setOuterRect(outer);
}

// ---- Mini mode

void WindowModes::m_small_Click()
{
    QWidget *w = m_windowWidget;
    if (w->isMinimized() || w->isMaximized())
        w->showNormal();
    if (m_smallMode)
        leaveSmallMode();
    else
        enterSmallMode();
}

void WindowModes::enterSmallMode()
{
    QWidget *w = m_windowWidget;
    w->setWindowTitle(QStringLiteral("Plovana（最小モード）"));
    m_smallMode = true;
    m_host->setResizeLocked(true);
    // The frame is measured only on the decorated window: a frameless one has none.
    if (!(w->windowFlags() & Qt::FramelessWindowHint) && !w->isFullScreen())
        myModule::initScreenMetrics(w);
    // The window becomes the video area alone, at the same outer top-left corner.
    const QSize display(tw::width(m_video->display()), tw::height(m_video->display()));
    if (m_pane->paneVisible()) {
        m_host->hideListPane();
        m_listVisibleBeforeSmall = true;
    }
    m_host->setResizeLocked(true);
    const QRect outer = m_host->outerRect();
    changeWindowFlag(Qt::FramelessWindowHint, true);
    m_host->setOuterRect(QRect(outer.topLeft(), display));
    m_controls->control()->hide();
    m_commands.action(command::smallMode)->setText(QStringLiteral("最小表示をやめる"));
    m_host->setResizeLocked(false);
    m_host->Form_Resize();
    modeMayHaveChanged();
}

void WindowModes::enterSmallModeOnceFramed()
{
    QWidget *w = m_windowWidget;
    const auto framed = [w] { return w->frameGeometry() != w->geometry(); };
    // On X the frame comes from the window manager, and the size correction it brings is
    // a request it answers later: mini mode waits for both. Elsewhere a frame known now is
    // final.
    if (framed() && QGuiApplication::platformName() != QLatin1String("xcb")) {
        enterSmallMode();
        return;
    }
    m_enteringSmallMode = true;
    auto *poll = new QTimer(w);
    poll->setInterval(20);
    auto ticks = std::make_shared<int>(0);
    auto framedAt = std::make_shared<int>(-1);
    connect(poll, &QTimer::timeout, w, [this, w, poll, ticks, framedAt, framed] {
        ++*ticks;
        if (*framedAt < 0 && framed()) {
            // The window was sized before its frame was known: measured and corrected
            // now, and a few beats more let that resize land before the frame goes.
            *framedAt = *ticks;
            m_host->frameMayHaveChanged();
        }
        const bool ready = *framedAt >= 0 && *ticks - *framedAt >= 5;
        if (!ready && *ticks < 75 && w->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        if (!m_enteringSmallMode)
            return;
        m_enteringSmallMode = false;
        if (w->isVisible() && !m_smallMode && !inFullScreen())
            enterSmallMode();
    });
    poll->start();
}

void WindowModes::leaveSmallMode()
{
    m_smallMode = false;
    m_host->setResizeLocked(true);
    m_controls->control()->show();
    const QRect outer = m_host->outerRect();
    const QSize display(tw::width(m_video->display()), tw::height(m_video->display()));
    changeWindowFlag(Qt::FramelessWindowHint, false);
    // The caption, the frame and the control bar come back round the same video area.
    const int frameW = 2 * myModule::frameWidth;
    const int frameH = myModule::captionHeight + 2 * myModule::frameHeight;
    QRect normal(outer.left(), outer.top(), display.width() + frameW,
                 display.height() + tw::height(m_controls->control()) + frameH);
    if (m_listVisibleBeforeSmall) {
        // The pane comes back inside the same one request: a window manager may answer
        // a second request in a row before the first, leaving the window too narrow.
        m_host->showListPane(false);
        m_listVisibleBeforeSmall = false;
        normal.setWidth(normal.width() + tw::width(m_pane->list()) + tw::width(m_video->kyoukai()));
    }
    m_host->setOuterRect(normal);
    m_commands.action(command::smallMode)->setText(QStringLiteral("最小表示"));
    m_host->setResizeLocked(false);
    m_host->Form_Resize();
    m_windowWidget->setWindowTitle(fileCaption());
    modeMayHaveChanged();
}

// ---- Always on top

void WindowModes::m_temae_Click(bool checkedNow)
{
    // The item has flipped already: it was checked when it is not now.
    showTopmost(checkedNow);
}

void WindowModes::setTopmost() { showTopmost(true); }
void WindowModes::clearTopmost() { showTopmost(false); }

void WindowModes::showTopmost(bool on)
{
    // The item, the option box, the toolbar picture and the window itself.
    m_temaeChecked = on;
    m_commands.refresh();
    if (m_options)
        m_options->setTopmostCheck(on);
    if (m_controls)
        m_controls->setButtonImage(QStringLiteral("temae"), on ? QStringLiteral("temae") : QStringLiteral("usiro"));
    staysOnTop(on);
}

void WindowModes::followTopmostOption(bool on)
{
    showTopmost(on);
}

void WindowModes::beginRename()
{
    clearTopmost();
    m_isRenaming = true;
}

void WindowModes::endRename()
{
    m_isRenaming = false;
    showTopmost(m_temaeChecked);
}

// ---- Sizes

void WindowModes::m_saiteki_Click()
{
    m_video->optimizeWindowSize();
}

void WindowModes::original_Click(bool checkedNow)
{
    // The item has flipped already: it was checked when it is not now.
    if (!checkedNow) {
        m_options->setOriginalSize(false);
        return;
    }
    m_options->setOriginalSize(true);
    if (m_nowPlaying->status() != PlayStatus::Closed)
        m_video->setVideoScale(1.0);
}

void WindowModes::size_Click(int index)
{
    if (index < 0 || index > 5 || m_nowPlaying->status() == PlayStatus::Closed)
        return;
    if (index != 0 && inFullScreen())
        leaveFullScreen();
    if (index == 0) {
        if (!inFullScreen())
            enterFullScreen();
        return;
    }
    m_video->setVideoScale(kScales[index]);
}

void WindowModes::stepVideoScale(bool larger)
{
    const PlayStatus status = m_nowPlaying->status();
    if (status != PlayStatus::Playing && status != PlayStatus::Paused) {
        m_video->setVideoScale(larger ? 1.25 : 0.75);
        return;
    }
    if (const auto scale = videofit::steppedScale(tw::width(m_video->display()), myModule::twipsPerPixelX,
                                                  m_video->pictureSize().width(), larger))
        m_video->setVideoScale(*scale);
}

// ---- Full screen

void WindowModes::enterFullScreen()
{
    if (m_nowPlaying->status() != PlayStatus::Playing)
        return;
    QWidget *w = m_windowWidget;
    m_video->kyoukai()->hide();
    const QRect outer = m_host->outerRect();
    m_savedLeft = outer.left();
    m_savedTop = outer.top();
    m_savedRight = outer.left() + outer.width();
    m_savedBottom = outer.top() + outer.height();
    m_m_window->setEnabled(false);
    m_pane->setListWidgetsVisible(false);

    m_host->setResizeLocked(true);
    m_fullScreen = true;
    m_video->movie()->fullscreen(); // from here a resize gives the video area the client area
    w->showFullScreen();
    m_host->setResizeLocked(false);
    // Without a window manager nobody acts on the request, and the window would keep its
    // size with the full-screen layout inside: it then covers the screen by itself.
    QTimer::singleShot(300, w, [this, w] {
        if (!inFullScreen() || !w->screen())
            return;
        const QRect screen = w->screen()->geometry();
        if (w->frameGeometry() != screen)
            w->setGeometry(screen);
    });

    // The video covers the screen, above the list pane and the control bar; the masks,
    // the strip and the overlays lie above the video.
    const QRect screen = screenTwips();
    tw::place(m_video->display(), 0, 0, screen.width(), screen.height());
    m_video->display()->raise();
    m_video->rmovie()->raise();
    abovevideo::raiseAboveVideo(m_video->clip_upper());
    abovevideo::raiseAboveVideo(m_video->clip_under());
    QFrame *strip = m_controls->fullscreen_control();
    const layout::StripPlaces s = layout::fullScreenStrip(screen.width());
    tw::place(strip, 0, 0, screen.width(), s.height);
    tw::place(m_controls->time_forFullscreen(), s.time.left, s.time.top, s.time.width, s.time.height);
    tw::place(m_controls->SeekBarForFullscreen(), s.seekBar.left, s.seekBar.top, s.seekBar.width, s.seekBar.height);
    tw::place(static_cast<QWidget *>(m_controls->volForFullscreen()), s.volume.left, s.volume.top, s.volume.width,
              s.volume.height);
    applyWindowRegion();
    abovevideo::raiseAboveVideo(strip);

    m_video->hideCursor(true);
    m_video->applyClipping();
    modeMayHaveChanged();
}

void WindowModes::leaveFullScreen()
{
    QWidget *w = m_windowWidget;
    m_fullScreen = false;
    m_video->movie()->normalscreen();
    m_host->setResizeLocked(true);
    m_controls->fullscreen_control()->hide();
    m_video->hideCursor(false);
    hideOkiniOverlay();
    hideFileOverlay();
    // A normal window (also when full screen came from a maximised one) at the rectangle
    // it had before.
    w->showNormal();
    m_host->setOuterRect(QRect(m_savedLeft, m_savedTop, m_savedRight - m_savedLeft, m_savedBottom - m_savedTop));
    if (m_pane->paneVisible())
        m_video->kyoukai()->show();
    if (!m_smallMode)
        w->setWindowTitle(fileCaption());
    m_pane->setListWidgetsVisible(m_pane->paneVisible());
    showTopmost(m_temaeChecked);
    m_host->setResizeLocked(false);
    m_m_window->setEnabled(true);
    m_host->Form_Resize();
    modeMayHaveChanged();
}

void WindowModes::applyWindowRegion()
{
    QFrame *strip = m_controls->fullscreen_control();
    strip->move(0, 0);
    QRegion region;
    for (QWidget *c : {static_cast<QWidget *>(m_controls->time_forFullscreen()),
                       static_cast<QWidget *>(m_controls->SeekBarForFullscreen()),
                       static_cast<QWidget *>(m_controls->volForFullscreen())})
        region = region.xored(QRegion(c->geometry()));
    strip->setMask(region);
}

void WindowModes::showFullScreenControls()
{
    QFrame *strip = m_controls->fullscreen_control();
    if (!strip->isVisible()) {
        strip->show();
        abovevideo::raiseAboveVideo(strip);
    }
    m_video->hideCursor(false);
}

void WindowModes::hideFullScreenControls()
{
    QFrame *strip = m_controls->fullscreen_control();
    if (strip->isVisible())
        strip->hide();
    if (inFullScreen())
        m_video->hideCursor(true);
}

void WindowModes::showOverlay(QWidget *list, layout::Rect (*place)(int, int))
{
    const QRect s = screenTwips();
    const layout::Rect r = place(s.width(), s.height());
    tw::place(list, r.left, r.top, r.width, r.height);
    list->show();
    abovevideo::raiseAboveVideo(list);
}

void WindowModes::hideOverlay(QWidget *list)
{
    if (!list->isVisible() && !inFullScreen())
        return;
    // Back over the pane; the next layout pass places it exactly.
    list->hide();
    list->setGeometry(m_pane->list()->geometry());
}

void WindowModes::showOkiniOverlay() { showOverlay(m_pane->okiniList(), &layout::okiniOverlay); }
void WindowModes::hideOkiniOverlay() { hideOverlay(m_pane->okiniList()); }
void WindowModes::showFileOverlay() { showOverlay(m_pane->fileList(), &layout::fileOverlay); }
void WindowModes::hideFileOverlay() { hideOverlay(m_pane->fileList()); }

// ---- The mouse over the video

void WindowModes::display_MouseMove(int x, int y, int rightEdge, int screenY)
{
    QWidget *w = m_windowWidget;
    // The automatic list pane.
    if (w->isActiveWindow() && !m_smallMode && !inFullScreen()
        && !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) && m_options->autoListHide()) {
        if (layout::inListShowZone(x, y, rightEdge)) {
            if (!m_pane->paneVisible())
                m_host->showListPane();
        } else if (m_pane->paneVisible()) {
            m_host->hideListPane();
        }
    }
    // Full screen: the strip near the top edge (and while a key seeks), the lists near the
    // bottom edge.
    if (!inFullScreen())
        return;
    const int cy = tw::fromPixelsY(screenY);
    const QRect s = screenTwips();
    if (!layout::inStripZone(cy, tw::height(m_controls->fullscreen_control())) && !m_state->keySeeking())
        hideFullScreenControls();
    else
        showFullScreenControls();
    if (!layout::inOverlayZone(cy, s.height())) {
        if (m_pane->okiniList()->isVisible())
            hideOkiniOverlay();
        if (m_pane->fileList()->isVisible())
            hideFileOverlay();
    } else {
        if (!m_pane->fileList()->isVisible())
            showFileOverlay();
        if (!m_pane->okiniList()->isVisible())
            showOkiniOverlay();
    }
}

void WindowModes::display_DblClick()
{
    QWidget *w = m_windowWidget;
    switch (m_options->mouseMode()) {
    case 0:
        if (inFullScreen())
            return;
        if (w->isMinimized() || w->isMaximized())
            w->showNormal();
        if (m_smallMode)
            leaveSmallMode();
        else
            enterSmallMode();
        return;
    case 2:
        m_media->playPause();
        return;
    case 3:
        if (inFullScreen())
            leaveFullScreen();
        else
            enterFullScreen();
        return;
    default:
        return;
    }
}

void WindowModes::display_RightClick()
{
    if (!inFullScreen())
        return;
    showFullScreenControls();
    showOkiniOverlay();
    showFileOverlay();
}

// ---- config.ini

void WindowModes::restoreConfig(const ConfigValues &c)
{
    m_smallMode = c.SmallMode != 0;
    m_alwaysOnTop = c.Temae != 0;
    // A start in mini mode keeps the pane for when it leaves.
    if (c.ListVisible != 0 && m_smallMode)
        m_listVisibleBeforeSmall = true;
}

void WindowModes::saveConfig(ConfigValues &c) const
{
    c.SmallMode = m_smallMode || m_enteringSmallMode ? 1 : 0;
    c.Temae = m_temaeChecked ? 1 : 0;
}
