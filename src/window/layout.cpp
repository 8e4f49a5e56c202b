// Layout of the main window: the video area on the left, the splitter, the list pane on
// the right and the control bar under the video. All values are twips.
#include "app/player.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "window/twips.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

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
    if (movie && movie->DisplaySize == 1) {
        movie->SetWindowSize(tw::toPixelsX(windowWidth()), tw::toPixelsY(windowHeight()));
        return;
    }
    if (isMinimized()) {
        if (Check_noTaskbar->isChecked() && isVisible())
            hide(); // only the notification-area icon remains
        return;
    }
    BtList->setEnabled(!isMaximized());

    if (smallMode) {
        displayResizeLock = true;
        tw::setWidth(display, windowWidth() - 2 * myModule::frameWidth);
        displayResizeLock = false;
        tw::setHeight(display, windowHeight() - myModule::frameHeight);
        if (check_auto_adjust->isChecked())
            optimizeWindowSize();
        return;
    }

    int cw = clientWidth();
    int ch = clientHeight();
    if (list->isVisibleTo(this)) {
        displayResizeLock = true;
        const int w = cw - tw::width(list) - tw::width(kyoukai);
        if (w > 1500) {
            tw::setWidth(display, w);
        } else {
            tw::setWidth(display, 1500);
            setWindowWidth(tw::width(list) + 1500 + tw::width(kyoukai) + 2 * myModule::frameWidth);
            cw = windowWidth() - 2 * myModule::frameWidth;
        }
        const int h = ch - tw::height(control);
        if (h > 1500) {
            tw::setHeight(display, h);
        } else {
            tw::setHeight(display, 1500);
            setWindowHeight(tw::height(control) + 1500 + 2 * myModule::frameHeight + myModule::captionHeight);
            ch = windowHeight() - 2 * myModule::frameHeight - myModule::captionHeight;
        }
        displayResizeLock = false;
        display_Resize();
        tw::setTop(control, ch - tw::height(control));
        tw::setWidth(control, tw::width(display));
        layoutControlBar();
        tw::setHeight(list, ch);
        tw::setLeft(list, cw - tw::width(list));
        layoutListPane();
        tw::setHeight(kyoukai, ch);
        tw::setLeft(kyoukai, cw - tw::width(list) - tw::width(kyoukai));
    } else {
        if (ch - tw::height(control) != tw::height(display))
            displayResizeLock = true;
        tw::setWidth(display, cw);
        displayResizeLock = false;
        const int h = ch - tw::height(control);
        if (h > 10) {
            tw::setHeight(display, h);
        } else {
            tw::setHeight(display, 1500);
            setWindowHeight(tw::height(control) + 1500 + 2 * myModule::frameHeight + myModule::captionHeight);
            ch = windowHeight() - 2 * myModule::frameHeight - myModule::captionHeight;
        }
        display_Resize();
        tw::setTop(control, ch - tw::height(control));
        tw::setWidth(control, tw::width(display));
        layoutControlBar();
    }
    if (check_auto_adjust->isChecked())
        optimizeWindowSize();
    applyClipping();
}

void Player::display_Resize()
{
    if (displayResizeLock)
        return;
    tw::setLeft(logo, (tw::width(display) - tw::width(logo)) / 2);
    tw::setTop(logo, (tw::height(display) - tw::height(logo)) / 2);
    tw::setLeft(Label_Logo, (tw::width(display) - tw::width(Label_Logo)) / 2);
    tw::setTop(Label_Logo, tw::top(logo) + tw::height(logo));
    fitVideo();
}

void Player::layoutControlBar()
{
    const int s = tw::width(control) - tw::width(time) - tw::width(vol);
    tw::setWidth(SeekBar, s > 10 ? s + 200 : 100);
    tw::setLeft(time, tw::width(control) - tw::width(time));
    tw::setLeft(right_panel, tw::width(control) - tw::width(right_panel));
}

void Player::layoutListPane()
{
    tw::setWidth(Tab1, tw::width(list) - 10);
    tw::setHeight(Tab1, tw::height(list));
    const int tabClientWidth = Tab1->clientWidth();

    tw::place(TabDir, tw::left(list), tw::top(list), tabClientWidth, tw::height(list) - 40 > 0 ? tw::height(list) - 40 : 10);
    tw::place(File, tw::left(TabDir), tw::top(TabDir), tabClientWidth, TabDir->clientHeight());
    tw::place(List_Find, tw::left(TabDir), tw::top(TabDir), tabClientWidth, tw::height(TabDir) - tw::height(find));
    tw::place(find, 40, tw::height(TabDir) - tw::height(find), tabClientWidth, tw::height(find));

    if (List_Find->isVisibleTo(this))
        tw::place(Frame_dummy, tw::left(TabDir), tw::height(List_Find) - 10, tabClientWidth,
              tw::height(TabDir) - tw::height(find) - tw::height(List_Find));
    else
        tw::place(Frame_dummy, tw::left(TabDir), tw::height(File) - 10, tabClientWidth,
              TabDir->clientHeight() - tw::height(File) + 60);

    tw::place(TabM3u, tw::left(list), tw::top(list), tw::width(File), tw::height(list) - 40);
    tw::place(List_okini, tw::left(TabM3u), tw::top(TabM3u), tabClientWidth, TabM3u->clientHeight() + 40);

    tw::place(Tab_Config, -20, 20, tw::width(File) + 40, tw::height(TabM3u) - 40);
    tw::place(config, 20, 20, tw::width(File), tw::height(TabM3u));
    for (QWidget *f : {static_cast<QWidget *>(Frame_basic), static_cast<QWidget *>(Frame_Key),
                       static_cast<QWidget *>(Frame_clip), static_cast<QWidget *>(Frame_other),
                       static_cast<QWidget *>(soft_info)})
        tw::place(f, 0, 20, tw::width(config), Tab_Config->clientHeight());
}

void Player::showListPane()
{
    resizeLocked = true;
    kyoukai->show();
    list->show();
    switch (Tab1->selectedIndex()) {
    case 2:
        List_okini->show();
        TabM3u->show();
        break;
    case 3:
        List_Find->show();
        Frame_dummy->show();
        find->show();
        break;
    case 4:
        break;
    default:
        File->show();
        Frame_dummy->show();
        TabDir->show();
        break;
    }
    setWindowWidth(windowWidth() + tw::width(list) + tw::width(kyoukai));
    BtList->setPicture(ImageLeft);
    resizeLocked = false;
    Form_Resize();
}

void Player::hideListPane()
{
    resizeLocked = true;
    for (QWidget *w : {static_cast<QWidget *>(kyoukai), static_cast<QWidget *>(list),
                       static_cast<QWidget *>(List_okini), static_cast<QWidget *>(TabM3u),
                       static_cast<QWidget *>(File), static_cast<QWidget *>(Frame_dummy),
                       static_cast<QWidget *>(TabDir), static_cast<QWidget *>(List_Find),
                       static_cast<QWidget *>(find)})
        w->hide();
    setWindowWidth(windowWidth() - tw::width(list) - tw::width(kyoukai));
    BtList->setPicture(ImageRight);
    resizeLocked = false;
    Form_Resize();
}

void Player::BtList_Click()
{
    const Qt::WindowStates before = windowState();
    const bool restore = before & (Qt::WindowMinimized | Qt::WindowMaximized);
    if (restore)
        setWindowState(before & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (list->isVisibleTo(this))
        hideListPane();
    else
        showListPane();
    if (restore)
        setWindowState(before);
}
