// config.ini: the window geometry, the options and the playback modes, read once at
// start-up (loadConfig) and written once at shutdown (saveConfig).
#include "app/player.h"

#include "app/config_format.h"
#include "lists/file_list_box.h"
#include "lists/tab_strip.h"
#include "platform/file_system.h"
#include "platform/my_module.h"
#include "platform/profile.h"
#include "window/twips.h"
#include "playback/cmovie.h"
#include "window/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include <QEvent>

#include <cmath>

namespace {

// The values of config.ini, in the order in which they are read and written.
struct ConfigValues
{
    QString LastDir, ImageDir, homeDir;
    int Left = 0, Top = 0, Width = 0, Height = 0, ListWidth = 0;
    int volume = 0;
    int Resume = 0, AutoAdjust = 0, NoTaskBar = 0, AutoListHide = 0, HidePopup = 0, SeekTop = 0;
    int WindowState = 0, PlayMode = 0, SmallMode = 0, ListMode = 0, ListVisible = 0, PlaySpeed = 0;
    int OriginalSize = 0, Temae = 0, upper_clip = 0, under_clip = 0, image_path_root = 0, soutai = 0;
    int load_thumbnail = 0, use_homedir = 0, mouse_mode = 0;
};

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
    const QString f = appDir + QStringLiteral("config.ini");
    const platform::IniDocument ini = platform::IniDocument::load(f);
    auto str = [&](const char *section, const char *key) {
        return platform::truncateToBytes(ini.value(QString::fromLatin1(section), QString::fromLatin1(key)).value_or(QString()), 255);
    };
    // Integers are 32-bit here: a window on a second monitor lies beyond 32767 twips.
    auto num = [&](const char *section, const char *key) {
        const auto v = ini.value(QString::fromLatin1(section), QString::fromLatin1(key));
        return v ? platform::parseProfileInt(*v) : 0;
    };

    ConfigValues c;
    c.LastDir = str("directory", "LastDir");
    c.ImageDir = str("directory", "ImageDir");
    c.homeDir = str("directory", "homeDir");
    c.Left = num("Position", "Left");
    c.Top = num("Position", "Top");
    c.Width = num("Position", "Width");
    c.Height = num("Position", "Height");
    c.ListWidth = num("Position", "ListWidth");
    c.volume = num("volume", "volume");
    c.Resume = num("option", "Resume");
    c.AutoAdjust = num("option", "AutoAdjust");
    c.NoTaskBar = num("option", "NoTaskBar");
    c.AutoListHide = num("option", "AutoListHide");
    c.HidePopup = num("option", "HidePopup");
    c.SeekTop = num("option", "SeekTop");
    c.WindowState = num("other", "WindowState");
    c.PlayMode = num("other", "PlayMode");
    c.SmallMode = num("other", "SmallMode");
    c.ListMode = num("other", "ListMode");
    c.ListVisible = num("other", "ListVisible");
    c.PlaySpeed = num("other", "PlaySpeed");
    c.OriginalSize = num("other", "OriginalSize");
    c.Temae = num("other", "Temae");
    c.upper_clip = num("other", "upper_clip");
    c.under_clip = num("other", "under_clip");
    c.image_path_root = num("other", "image_path_root");
    c.soutai = num("other", "soutai");
    c.load_thumbnail = num("other", "load_thumbnail");
    c.use_homedir = num("other", "use_homedir");
    c.mouse_mode = num("other", "mouse_mode");

    OpenImagePath = c.ImageDir;
    homeDir = c.homeDir;
    smallMode = c.SmallMode != 0;
    alwaysOnTop = c.Temae != 0;

    bai_Click(c.PlaySpeed);
    setCheckValue(Check_usehome, c.use_homedir);

    if (!platform::entryExists(c.LastDir))
        c.LastDir = appDir;
    const QString start = c.use_homedir == 1 ? (platform::folderExists(homeDir) ? homeDir : appDir) : c.LastDir;
    if (File->setPath(start)) {
        TabDir->setTag(1, start);
    } else {
        File->setPath(appDir);
        TabDir->setTag(1, appDir);
    }

    // From here a value that a control refuses is skipped and loading goes on.
    if (c.ListWidth >= 0)
        twips::setWidth(list, c.ListWidth);
    setCheckValue(check_resume, c.Resume);
    QRadioButton *const fitting[] = {check_auto_adjust, Keep_Aspect, use_fullWindow};
    if (c.AutoAdjust >= 0 && c.AutoAdjust <= 2) {
        setOptionChecked(fitting[c.AutoAdjust], true);
    } else {
        for (QRadioButton *r : fitting)
            setOptionChecked(r, false);
    }
    if (c.mouse_mode >= 0 && c.mouse_mode <= 3)
        setOptionChecked(check_mode[std::size_t(c.mouse_mode)], true);
    setCheckValue(Check_noTaskbar, c.NoTaskBar);
    setCheckValue(Check_auto_hide, c.AutoListHide);
    setCheckValue(Check_show_popup, c.HidePopup);
    setCheckValue(Check_SeekTop, c.SeekTop);
    setCheckValue(Check_imagedirchange, c.image_path_root);
    setCheckValue(Check_soutai, c.soutai);

    mode_Click(c.PlayMode);

    original->setChecked(c.OriginalSize != 0);
    Check_original->setChecked(c.OriginalSize != 0);

    if (vol->setValueChecked(c.volume))
        volForFullscreen->setValueChecked(c.volume);

    // The window's outer rectangle, in pixels. The frame is known only once the window
    // is mapped; start-up then corrects the size by the frame (correctForFrame).
    move(static_cast<int>(std::lround(double(c.Left) / myModule::twipsPerPixelX)),
         static_cast<int>(std::lround(double(c.Top) / myModule::twipsPerPixelY)));
    setWindowWidth(c.Width);
    setWindowHeight(c.Height);
    m_frameApplied = currentFrame();

    if (c.ListMode >= 1 && c.ListMode <= 4) {
        showPage(c.ListMode);
        Tab1->select(c.ListMode);
    }

    if (c.ListVisible == 0)
        hideListPane();
    else if (smallMode)
        listVisibleBeforeSmall = true;

    setSliderValue(Scroll_upper, c.upper_clip);
    setSliderValue(scroll_under, c.under_clip);

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

    setThumbnailView(c.load_thumbnail != 0 ? -1 : 0);
    m_chage_list->setEnabled(c.load_thumbnail != 0);

    Check_usehome_Click();
}

QMargins Player::currentFrame() const
{
    const int fw = twips::toPixelsX(myModule::frameWidth);
    const int fh = twips::toPixelsY(myModule::frameHeight);
    return QMargins(fw, twips::toPixelsY(myModule::captionHeight) + fh, fw, fh);
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
    if (e->type() == QEvent::WindowStateChange && m_frameCorrectionPending && !isMaximized()
        && !isMinimized())
        correctForFrame();
}

void Player::saveConfig()
{
    bool listShown = list->isVisibleTo(this);
    const bool wasSmall = smallMode;

    if (movie->DisplaySize == 1)
        leaveFullScreen();

    const Qt::WindowStates state = windowState();
    const int windowStateValue = state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0;
    if (windowStateValue != 0) {
        const QRect normal = normalGeometry();
        showNormal();
        if (normal.isValid() && geometry() != normal)
            setGeometry(normal);
    }

    if (smallMode) {
        if (listVisibleBeforeSmall)
            listShown = true;
        leaveSmallMode();
    }
    if (!list->isVisibleTo(this))
        showListPane();

    int playMode = 0;
    for (int i = 0; i < static_cast<int>(mode.size()); ++i) {
        if (mode[std::size_t(i)]->isChecked()) {
            playMode = i;
            break;
        }
    }
    int playSpeed = -1;
    for (int i = static_cast<int>(bai.size()) - 1; i >= 0; --i) {
        if (bai[std::size_t(i)]->isChecked()) {
            playSpeed = i;
            break;
        }
    }
    const int autoAdjust = check_auto_adjust->isChecked() ? 0 : Keep_Aspect->isChecked() ? 1 : 2;
    int mouseMode = 3;
    for (int i = 0; i < 3; ++i) {
        if (check_mode[std::size_t(i)]->isChecked()) {
            mouseMode = i;
            break;
        }
    }

    const QString f = appDir + QStringLiteral("config.ini");
    auto put = [&](const char *section, const char *key, const QString &value) {
        platform::writePrivateProfileString(QString::fromLatin1(section), QString::fromLatin1(key), value, f);
    };
    auto putInt = [&](const char *section, const char *key, int value) { put(section, key, QString::number(value)); };

    put("directory", "LastDir", TabDir->tag(1));
    put("directory", "ImageDir", OpenImagePath);
    put("directory", "homeDir", homeDir);
    put("Position", "Left", formatSingle(windowLeft()));
    put("Position", "Top", formatSingle(windowTop()));
    put("Position", "Width", formatSingle(windowWidth()));
    put("Position", "Height", formatSingle(windowHeight()));
    put("Position", "ListWidth", formatSingle(twips::width(list)));
    put("volume", "volume", formatSingle(vol->value()));
    putInt("option", "Resume", checkValue(check_resume));
    putInt("option", "AutoAdjust", autoAdjust);
    putInt("option", "NoTaskBar", checkValue(Check_noTaskbar));
    putInt("option", "AutoListHide", checkValue(Check_auto_hide));
    putInt("option", "HidePopup", checkValue(Check_show_popup));
    putInt("option", "SeekTop", checkValue(Check_SeekTop));
    putInt("other", "WindowState", windowStateValue);
    putInt("other", "PlayMode", playMode);
    putInt("other", "SmallMode", wasSmall ? 1 : 0);
    putInt("other", "ListMode", Tab1->selectedIndex());
    putInt("other", "ListVisible", listShown ? 1 : 0);
    putInt("other", "PlaySpeed", playSpeed);
    putInt("other", "OriginalSize", original->isChecked() ? 1 : 0);
    putInt("other", "Temae", m_temae->isChecked() ? 1 : 0);
    putInt("other", "upper_clip", Scroll_upper->value());
    putInt("other", "under_clip", scroll_under->value());
    putInt("other", "image_path_root", checkValue(Check_imagedirchange));
    putInt("other", "soutai", checkValue(Check_soutai));
    // Until the first list load has ended, the box still stands at its design-time value;
    // the configured value is the one the load will give it.
    putInt("other", "load_thumbnail", tmr_okini->isActive() ? (thumbnailView == -1 ? 1 : 0) : checkValue(Check_loadthum));
    putInt("other", "use_homedir", checkValue(Check_usehome));
    putInt("other", "mouse_mode", mouseMode);

    // Both channels get back the left-channel level found at start-up.
    if (services.waveOut)
        services.waveOut->setVolume(bothChannels(startWaveVolume + 32767));
}
