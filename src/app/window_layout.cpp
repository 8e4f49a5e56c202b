// The window's layout: the video area on the left, the splitter, the list pane on the
// right and the control bar under the video, all in twips. The arithmetic is in
// window/layout_math; here the controls are measured and written in their order.
#include "app/player.h"

#include "widgets/options.h"
#include "app/options_page.h"
#include "app/tray_icon.h"
#include "lists/list_pane.h"
#include "platform/my_module.h"
#include "playback/cmovie.h"
#include "window/control_bar.h"
#include "widgets/controls.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QToolBar>

namespace tw = twips;

QMargins Player::decoration() const
{
    // Full screen by the engine's DisplaySize, which changes at once; the window's own
    // state follows later, when the window manager has done it.
    if ((windowFlags() & Qt::FramelessWindowHint) || video->movie->DisplaySize == 1)
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
    if (!windowModes->smallMode && video->movie->DisplaySize != 1) {
        const int control = tw::height(controls->control);
        if (listPane->paneVisible())
            minimum = QSize(tw::toPixelsX(tw::width(listPane->list) + tw::width(video->kyoukai) + layout::kMinimumDisplay),
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
    if (resizeLocked)
        return;
    CMovie &movie = *video->movie;
    PictureBox *display = video->display;
    keepMinimumSize();
    if (movie.DisplaySize == 1) {
        // Full screen arrives after the switch: the video area takes the client area as it
        // comes, and the picture is fitted and clipped there.
        video->displayResizeLock = true;
        display->setGeometry(rect());
        video->displayResizeLock = false;
        video->display_Resize();
        return;
    }
    listPane->size_bar->setEnabled(!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));
    if (isMinimized()) {
        // Only the notification-area icon remains; without one the window stays reachable.
        if (options->noTaskbar() && isVisible())
            trayIcon->hideMinimisedWindow();
        return;
    }
    // BtList stays usable while maximised: its toggle restores the window, toggles the
    // pane and maximises it again.

    if (windowModes->smallMode) {
        // The whole client area: a frameless window has no frame to leave out.
        const QMargins dec = decoration();
        const layout::Size d =
            layout::smallModeDisplay(windowWidth(), windowHeight(), dec.left(), dec.top() + dec.bottom());
        video->displayResizeLock = true;
        tw::setLeft(display, 0);
        tw::setTop(display, 0);
        tw::setWidth(display, d.width);
        video->displayResizeLock = false;
        tw::setHeight(display, d.height);
        if (options->fitMode() == 0)
            video->optimizeWindowSize();
        return;
    }

    QFrame *list = listPane->list;
    QFrame *control = controls->control;
    int cw = clientWidth();
    int ch = clientHeight();
    const bool listShown = listPane->paneVisible();
    if (listShown) {
        // With the pane, the video area is fitted once, after both of its sides are set.
        video->displayResizeLock = true;
        const layout::Side w =
            layout::displayWidthWithList(cw, tw::width(list), tw::width(video->kyoukai), myModule::frameWidth);
        tw::setWidth(display, w.size);
        if (w.windowSize) {
            setWindowWidth(*w.windowSize);
            cw = windowWidth() - 2 * myModule::frameWidth;
        }
    } else {
        if (ch - tw::height(control) != tw::height(display))
            video->displayResizeLock = true;
        tw::setWidth(display, cw);
        video->displayResizeLock = false;
    }
    const layout::Side h =
        layout::displayHeight(ch, tw::height(control), listShown, myModule::frameHeight, myModule::captionHeight);
    tw::setHeight(display, h.size);
    if (h.windowSize) {
        setWindowHeight(*h.windowSize);
        ch = windowHeight() - 2 * myModule::frameHeight - myModule::captionHeight;
    }
    video->displayResizeLock = false;
    video->display_Resize();
    const layout::Surround s = layout::surround(cw, ch, tw::width(display), tw::height(control), tw::width(list),
                                                tw::width(video->kyoukai));
    tw::setTop(control, s.controlTop);
    tw::setWidth(control, s.controlWidth);
    controls->layoutControlBar();
    if (listShown) {
        tw::setHeight(list, s.listHeight);
        tw::setLeft(list, s.listLeft);
        listPane->layoutListPane();
        tw::setHeight(video->kyoukai, s.kyoukaiHeight);
        tw::setLeft(video->kyoukai, s.kyoukaiLeft);
    }
    if (options->fitMode() == 0)
        video->optimizeWindowSize();
    video->applyClipping();
}

void Player::showListPane(bool widen)
{
    resizeLocked = true;
    video->kyoukai->show();
    listPane->setPaneVisible(true);
    if (widen)
        setWindowWidth(windowWidth() + tw::width(listPane->list) + tw::width(video->kyoukai));
    controls->showListToggle(true);
    resizeLocked = false;
    Form_Resize();
}

void Player::hideListPane()
{
    resizeLocked = true;
    video->kyoukai->hide();
    listPane->setPaneVisible(false);
    setWindowWidth(windowWidth() - tw::width(listPane->list) - tw::width(video->kyoukai));
    controls->showListToggle(false);
    resizeLocked = false;
    Form_Resize();
}

void Player::size_bar_ButtonClick(const QString &key)
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    QFrame *list = listPane->list;
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
    PictureBox *kyoukai = video->kyoukai;
    // From the window's outer left edge, as the pointer's screen position would give it.
    const int fromOuterLeft = tw::left(kyoukai) + x + decoration().left() - 90;
    tw::setLeft(kyoukai, layout::splitterLeft(fromOuterLeft, clientWidth()));
}

void Player::kyoukai_MouseUp()
{
    PictureBox *kyoukai = video->kyoukai;
    PictureBox *display = video->display;
    resizeLocked = true;
    tw::setWidth(display, tw::left(kyoukai));
    if (options->fitMode() != 0)
        video->display_Resize();
    video->displayResizeLock = true;
    tw::setWidth(controls->control, tw::width(display));
    controls->layoutControlBar();
    const layout::PaneSpan pane = layout::paneAfterSplitter(tw::left(kyoukai), tw::width(kyoukai), clientWidth());
    tw::setLeft(listPane->list, pane.listLeft);
    tw::setWidth(listPane->list, pane.listWidth);
    resizeLocked = false;
    video->displayResizeLock = false;
    if (options->fitMode() == 0)
        video->optimizeWindowSize();
    listPane->layoutListPane();
}

void Player::BtList_Click()
{
    const Qt::WindowStates before = windowState();
    const bool restore = before & (Qt::WindowMinimized | Qt::WindowMaximized);
    if (restore)
        setWindowState(before & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (listPane->paneVisible())
        hideListPane();
    else
        showListPane();
    if (restore)
        setWindowState(before);
}
