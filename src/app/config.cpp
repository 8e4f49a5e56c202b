// config.ini: read once at start-up and applied to the rooms' controls (loadConfig), and
// gathered from them and written once at shutdown (saveConfig).
#include "app/player.h"

#include "app/config_values.h"
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
#include "window/control_bar.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
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

namespace {

// A check box takes 0 or 1; anything else is refused and the box keeps its value.
bool setCheckValue(QCheckBox *c, int v)
{
    if (v != 0 && v != 1)
        return false;
    c->setChecked(v == 1);
    return true;
}

int checkValue(const QCheckBox *c) { return c->isChecked() ? 1 : 0; }

// A slider refuses a value outside its range.
bool setSliderValue(QSlider *s, int v)
{
    if (v < s->minimum() || v > s->maximum())
        return false;
    s->setValue(v);
    return true;
}

} // namespace

void Player::loadConfig()
{
    ConfigValues c = readConfig(platform::IniDocument::load(appDir + QStringLiteral("config.ini")));
    OptionsPage &o = *options;

    favourites->OpenImagePath = c.ImageDir;
    o.homeDir = c.homeDir;
    windowModes->smallMode = c.SmallMode != 0;
    windowModes->alwaysOnTop = c.Temae != 0;

    playback->bai_Click(c.PlaySpeed);
    setCheckValue(o.Check_usehome, c.use_homedir);

    if (!platform::entryExists(c.LastDir))
        c.LastDir = appDir;
    const QString start =
        c.use_homedir == 1 ? (platform::folderExists(o.homeDir) ? o.homeDir : appDir) : c.LastDir;
    if (files->File->setPath(start)) {
        files->TabDir->setTag(1, start);
    } else {
        files->File->setPath(appDir);
        files->TabDir->setTag(1, appDir);
    }

    // From here a value that a control refuses is skipped and loading goes on.
    if (c.ListWidth >= 0)
        twips::setWidth(listPane->list, c.ListWidth);
    setCheckValue(o.check_resume, c.Resume);
    o.setFitMode(c.AutoAdjust);
    if (c.mouse_mode >= 0 && c.mouse_mode <= 3)
        setOptionChecked(o.check_mode[std::size_t(c.mouse_mode)], true);
    setCheckValue(o.Check_noTaskbar, c.NoTaskBar);
    setCheckValue(o.Check_auto_hide, c.AutoListHide);
    setCheckValue(o.Check_show_popup, c.HidePopup);
    setCheckValue(o.Check_SeekTop, c.SeekTop);
    setCheckValue(o.Check_imagedirchange, c.image_path_root);
    setCheckValue(o.Check_soutai, c.soutai);

    playback->mode_Click(c.PlayMode);

    o.original->setChecked(c.OriginalSize != 0);
    o.Check_original->setChecked(c.OriginalSize != 0);

    controls->setVolume(c.volume);

    // The window's outer rectangle, in pixels. The frame is known only once the window
    // is mapped; start-up then corrects the size by the frame (correctForFrame).
    move(static_cast<int>(std::lround(double(c.Left) / myModule::twipsPerPixelX)),
         static_cast<int>(std::lround(double(c.Top) / myModule::twipsPerPixelY)));
    setWindowWidth(c.Width);
    setWindowHeight(c.Height);
    m_frameApplied = currentFrame();
    if (c.WindowState == 1 || c.WindowState == 2)
        m_outerFromConfig = QRect(c.Left, c.Top, windowWidth(), windowHeight());

    if (c.ListMode >= 1 && c.ListMode <= 4) {
        listPane->showPage(c.ListMode);
        listPane->Tab1->select(c.ListMode);
    }

    if (c.ListVisible == 0)
        hideListPane();
    else if (windowModes->smallMode)
        windowModes->listVisibleBeforeSmall = true;

    setSliderValue(o.Scroll_upper, c.upper_clip);
    setSliderValue(o.scroll_under, c.under_clip);

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

    favourites->setThumbnailView(c.load_thumbnail != 0 ? -1 : 0);
    favourites->m_chage_list->setEnabled(c.load_thumbnail != 0);

    o.Check_usehome_Click();
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
    if (!m_loaded || (windowFlags() & Qt::FramelessWindowHint) || video->movie->DisplaySize == 1 || isFullScreen()
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

void Player::saveConfig()
{
    bool listShown = listPane->paneVisible();
    // A start in mini mode that is still waiting for the window manager's frame counts.
    const bool wasSmall = windowModes->smallMode || windowModes->enteringSmallMode;
    windowModes->enteringSmallMode = false;

    if (video->movie->DisplaySize == 1)
        windowModes->leaveFullScreen();

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

    if (windowModes->smallMode) {
        if (windowModes->listVisibleBeforeSmall)
            listShown = true;
        windowModes->leaveSmallMode();
    }
    if (!listPane->paneVisible())
        showListPane();

    const OptionsPage &o = *options;
    ConfigValues c;
    c.LastDir = files->TabDir->tag(1);
    c.ImageDir = favourites->OpenImagePath;
    c.homeDir = o.homeDir;
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
    c.ListWidth = twips::width(listPane->list);
    c.volume = controls->vol->value();
    c.Resume = checkValue(o.check_resume);
    c.AutoAdjust = o.fitMode() < 0 ? 2 : o.fitMode();
    c.NoTaskBar = checkValue(o.Check_noTaskbar);
    c.AutoListHide = checkValue(o.Check_auto_hide);
    c.HidePopup = checkValue(o.Check_show_popup);
    c.SeekTop = checkValue(o.Check_SeekTop);
    c.WindowState = windowStateValue;
    c.PlayMode = playback->getPlayMode();
    c.SmallMode = wasSmall ? 1 : 0;
    c.ListMode = listPane->Tab1->selectedIndex();
    c.ListVisible = listShown ? 1 : 0;
    c.PlaySpeed = playback->checkedSpeed();
    c.OriginalSize = o.original->isChecked() ? 1 : 0;
    c.Temae = windowModes->m_temae->isChecked() ? 1 : 0;
    c.upper_clip = o.Scroll_upper->value();
    c.under_clip = o.scroll_under->value();
    c.image_path_root = checkValue(o.Check_imagedirchange);
    c.soutai = checkValue(o.Check_soutai);
    // Until the first list load has ended, the box still stands at its design-time value;
    // the configured value is the one the load will give it.
    c.load_thumbnail = favourites->firstLoadPending() ? (favourites->thumbnailView == -1 ? 1 : 0)
                                                      : checkValue(o.Check_loadthum);
    c.use_homedir = checkValue(o.Check_usehome);
    c.mouse_mode = o.mouseMode();
    // One write of the whole file: one replace of config.ini per shutdown.
    saveConfigFile(c, appDir + QStringLiteral("config.ini"));

    playback->nowPlaying.restoreWaveVolume();
}
