// The window's layout: the video area on the left, the splitter, the list pane on the
// right and the control bar under the video, all in twips. The arithmetic is in
// window/layout_math; here the controls are measured and written in their order.
#include "app/player.h"

#include "app/options.h"
#include "app/options_page.h"
#include "app/tray_icon.h"
#include "lists/list_pane.h"
#include "platform/my_module.h"
#include "playback/cmovie.h"
#include "window/control_bar.h"
#include "window/controls.h"
#include "window/layout_math.h"
#include "window/twips.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QFrame>

namespace tw = twips;

int Player::windowLeft() const { return tw::fromPixelsX(frameGeometry().x()); }
int Player::windowTop() const { return tw::fromPixelsY(frameGeometry().y()); }
int Player::windowWidth() const { return tw::fromPixelsX(width()) + 2 * myModule::frameWidth; }
int Player::windowHeight() const
{
    return tw::fromPixelsY(height()) + myModule::captionHeight + 2 * myModule::frameHeight;
}

void Player::setWindowWidth(int v)
{
    resize(std::max(1, tw::toPixelsX(v - 2 * myModule::frameWidth)), height());
}

void Player::setWindowHeight(int v)
{
    resize(width(), std::max(1, tw::toPixelsY(v - myModule::captionHeight - 2 * myModule::frameHeight)));
}

int Player::clientWidth() const { return tw::fromPixelsX(width()); }
int Player::clientHeight() const { return tw::fromPixelsY(height()); }

void Player::Form_Resize()
{
    if (resizeLocked)
        return;
    CMovie &movie = *video->movie;
    PictureBox *display = video->display;
    if (movie.DisplaySize == 1) {
        movie.SetWindowSize(tw::toPixelsX(windowWidth()), tw::toPixelsY(windowHeight()));
        return;
    }
    if (isMinimized()) {
        // Only the notification-area icon remains; without one the window stays reachable.
        if (options->noTaskbar() && isVisible())
            trayIcon->hideMinimisedWindow();
        return;
    }
    // BtList stays usable while maximised: its toggle restores the window, toggles the
    // pane and maximises it again.

    if (windowModes->smallMode) {
        const layout::Size d = layout::smallModeDisplay(windowWidth(), windowHeight(), myModule::frameWidth,
                                                        myModule::frameHeight);
        video->displayResizeLock = true;
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

void Player::showListPane()
{
    resizeLocked = true;
    video->kyoukai->show();
    listPane->setPaneVisible(true);
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
