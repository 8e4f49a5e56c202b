// The window's layout: the video area on the left, the splitter, the list pane on the
// right and the control bar under the video, all in twips. The arithmetic is in
// window/layout_math; here the controls are measured and written in their order.
#include "app/player.h"

#include "app/options_page.h"
#include "app/tray_icon.h"
#include "lists/list_pane.h"
#include "platform/my_module.h"
#include "playback/cmovie.h"
#include "widgets/controls.h"
#include "widgets/layout_math.h"
#include "widgets/options.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QToolBar>

namespace tw = twips;

QMargins Player::decoration() const
{
    // Full screen by the window modes, which change at once; the window's own state
    // follows later, when the window manager has done it.
    if ((windowFlags() & Qt::FramelessWindowHint) || m_windowModes->inFullScreen())
        return {};
    return {myModule::frameWidth, myModule::captionHeight + myModule::frameHeight, myModule::frameWidth,
            myModule::frameHeight};
}

// The outer corner from the client area and the decoration the window has now: right after
// a decoration change Qt's own frame geometry still holds the frame from before.
int Player::windowLeft() const { return tw::fromPixelsX(geometry().x()) - decoration().left(); }
int Player::windowTop() const { return tw::fromPixelsY(geometry().y()) - decoration().top(); }
int Player::windowWidth() const
{
    const QMargins d = decoration();
    return tw::fromPixelsX(width()) + d.left() + d.right();
}
int Player::windowHeight() const
{
    const QMargins d = decoration();
    return tw::fromPixelsY(height()) + d.top() + d.bottom();
}

void Player::setWindowWidth(int v)
{
    keepMinimumSize();
    const QMargins d = decoration();
    resize(std::max(1, tw::toPixelsX(v - d.left() - d.right())), height());
}

void Player::setWindowHeight(int v)
{
    keepMinimumSize();
    const QMargins d = decoration();
    resize(width(), std::max(1, tw::toPixelsY(v - d.top() - d.bottom())));
}

QRect Player::outerRect() const
{
    return {windowLeft(), windowTop(), windowWidth(), windowHeight()};
}

void Player::setOuterRect(const QRect &outer)
{
    // The client rectangle inside the frame the window has now: Qt places a window's
    // client area exactly, whatever frame it remembers from before a decoration change.
    keepMinimumSize();
    const QMargins d = decoration();
    setGeometry(tw::toPixelsX(outer.left() + d.left()), tw::toPixelsY(outer.top() + d.top()),
                std::max(1, tw::toPixelsX(outer.width() - d.left() - d.right())),
                std::max(1, tw::toPixelsY(outer.height() - d.top() - d.bottom())));
}

void Player::keepMinimumSize()
{
    // The minimum the resize handler would otherwise grow the window to: a window manager
    // that refuses the growth would make the two argue without end.
    QSize minimum(0, 0);
    if (m_windowModes->windowMode() == WindowMode::Normal) {
        const int control = tw::height(m_controls->control());
        if (m_listPane->paneVisible())
            minimum = QSize(tw::toPixelsX(tw::width(m_listPane->list()) + tw::width(m_video->kyoukai()) + layout::kMinimumDisplay),
                            tw::toPixelsY(control + layout::kMinimumDisplay));
        else
            minimum = QSize(0, tw::toPixelsY(control) + 1);
    }
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
}

int Player::clientWidth() const { return tw::fromPixelsX(width()); }
int Player::clientHeight() const { return tw::fromPixelsY(height()); }

void Player::Form_Resize()
{
    if (m_resizeLocked)
        return;
    PictureBox *display = m_video->display();
    keepMinimumSize();
    if (m_windowModes->inFullScreen()) {
        // Full screen arrives after the switch: the video area takes the client area as it
        // comes, and the picture is fitted and clipped there.
        m_video->setDisplayResizeLock(true);
        display->setGeometry(rect());
        m_video->setDisplayResizeLock(false);
        m_video->display_Resize();
        return;
    }
    m_listPane->size_bar()->setEnabled(!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));
    if (isMinimized()) {
        // Only the notification-area icon remains; without one the window stays reachable.
        if (m_options->noTaskbar() && isVisible())
            m_trayIcon->hideMinimisedWindow();
        return;
    }
    // BtList stays usable while maximised: its toggle restores the window, toggles the
    // pane and maximises it again.

    if (m_windowModes->smallMode()) {
        // The whole client area: a frameless window has no frame to leave out.
        const QMargins dec = decoration();
        const layout::Size d =
            layout::smallModeDisplay(windowWidth(), windowHeight(), dec.left(), dec.top() + dec.bottom());
        m_video->setDisplayResizeLock(true);
        tw::setLeft(display, 0);
        tw::setTop(display, 0);
        tw::setWidth(display, d.width);
        m_video->setDisplayResizeLock(false);
        tw::setHeight(display, d.height);
        if (m_options->fitMode() == 0)
            m_video->optimizeWindowSize();
        return;
    }

    QFrame *list = m_listPane->list();
    QFrame *control = m_controls->control();
    int cw = clientWidth();
    int ch = clientHeight();
    const bool listShown = m_listPane->paneVisible();
    if (listShown) {
        // With the pane, the video area is fitted once, after both of its sides are set.
        m_video->setDisplayResizeLock(true);
        const layout::Side w =
            layout::displayWidthWithList(cw, tw::width(list), tw::width(m_video->kyoukai()), myModule::frameWidth);
        tw::setWidth(display, w.size);
        if (w.windowSize) {
            setWindowWidth(*w.windowSize);
            cw = windowWidth() - 2 * myModule::frameWidth;
        }
    } else {
        if (ch - tw::height(control) != tw::height(display))
            m_video->setDisplayResizeLock(true);
        tw::setWidth(display, cw);
        m_video->setDisplayResizeLock(false);
    }
    const layout::Side h =
        layout::displayHeight(ch, tw::height(control), listShown, myModule::frameHeight, myModule::captionHeight);
    tw::setHeight(display, h.size);
    if (h.windowSize) {
        setWindowHeight(*h.windowSize);
        ch = windowHeight() - 2 * myModule::frameHeight - myModule::captionHeight;
    }
    m_video->setDisplayResizeLock(false);
    m_video->display_Resize();
    const layout::Surround s = layout::surround(cw, ch, tw::width(display), tw::height(control), tw::width(list),
                                                tw::width(m_video->kyoukai()));
    tw::setTop(control, s.controlTop);
    tw::setWidth(control, s.controlWidth);
    m_controls->layoutControlBar();
    if (listShown) {
        tw::setHeight(list, s.listHeight);
        tw::setLeft(list, s.listLeft);
        m_listPane->layoutListPane();
        tw::setHeight(m_video->kyoukai(), s.kyoukaiHeight);
        tw::setLeft(m_video->kyoukai(), s.kyoukaiLeft);
    }
    if (m_options->fitMode() == 0)
        m_video->optimizeWindowSize();
    m_video->applyClipping();
}

void Player::showListPane(bool widen)
{
    m_resizeLocked = true;
    m_video->kyoukai()->show();
    m_listPane->setPaneVisible(true);
    if (widen)
        setWindowWidth(windowWidth() + tw::width(m_listPane->list()) + tw::width(m_video->kyoukai()));
    m_controls->showListToggle(true);
    m_resizeLocked = false;
    Form_Resize();
}

void Player::hideListPane()
{
    m_resizeLocked = true;
    m_video->kyoukai()->hide();
    m_listPane->setPaneVisible(false);
    setWindowWidth(windowWidth() - tw::width(m_listPane->list()) - tw::width(m_video->kyoukai()));
    m_controls->showListToggle(false);
    m_resizeLocked = false;
    Form_Resize();
}

void Player::size_bar_ButtonClick(const QString &key)
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    QFrame *list = m_listPane->list();
    const int step = layout::listWidthStep(key == u"add", tw::width(list));
    if (step == 0 || (key != u"add" && key != u"sub"))
        return;
    tw::setWidth(list, tw::width(list) + step);
    setWindowWidth(windowWidth() + step);
    // The pointer stays on the button, which moved with the pane's right edge. Wayland
    // lets no program move the pointer.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QPoint p = QCursor::pos();
        QCursor::setPos(p.x() + tw::toPixelsX(step), p.y());
    }
}

void Player::kyoukai_MouseMove(Qt::MouseButtons buttons, int x)
{
    if (!(buttons & Qt::LeftButton))
        return;
    PictureBox *kyoukai = m_video->kyoukai();
    // From the window's outer left edge, as the pointer's screen position would give it.
    const int fromOuterLeft = tw::left(kyoukai) + x + decoration().left() - 90;
    tw::setLeft(kyoukai, layout::splitterLeft(fromOuterLeft, clientWidth()));
}

void Player::kyoukai_MouseUp()
{
    PictureBox *kyoukai = m_video->kyoukai();
    PictureBox *display = m_video->display();
    m_resizeLocked = true;
    tw::setWidth(display, tw::left(kyoukai));
    if (m_options->fitMode() != 0)
        m_video->display_Resize();
    m_video->setDisplayResizeLock(true);
    tw::setWidth(m_controls->control(), tw::width(display));
    m_controls->layoutControlBar();
    const layout::PaneSpan pane = layout::paneAfterSplitter(tw::left(kyoukai), tw::width(kyoukai), clientWidth());
    tw::setLeft(m_listPane->list(), pane.listLeft);
    tw::setWidth(m_listPane->list(), pane.listWidth);
    m_resizeLocked = false;
    m_video->setDisplayResizeLock(false);
    if (m_options->fitMode() == 0)
        m_video->optimizeWindowSize();
    m_listPane->layoutListPane();
}

void Player::BtList_Click()
{
    const Qt::WindowStates before = windowState();
    const bool restore = before & (Qt::WindowMinimized | Qt::WindowMaximized);
    if (restore)
        setWindowState(before & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (m_listPane->paneVisible())
        hideListPane();
    else
        showListPane();
    if (restore)
        setWindowState(before);
}
