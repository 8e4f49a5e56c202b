#include "window/control_bar.h"

#include "playback/cmovie.h"
#include "playback/now_playing.h"
#include "playback/playback_state.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/controls.h"
#include "widgets/images.h"
#include "widgets/layout_math.h"
#include "widgets/seek_math.h"
#include "widgets/timer.h"
#include "widgets/twips.h"

#include <QAction>
#include <QFrame>
#include <QMouseEvent>
#include <QProgressBar>
#include <QToolBar>

#include <cmath>

namespace tw = twips;

ControlBar::ControlBar(QWidget *window, Commands &commands) : QObject(window)
{
    m_control = new QFrame(window);
    m_control->setObjectName(QStringLiteral("control"));
    tw::place(m_control, 0, 3720, 5415, 555);

    m_vol = new VolumeBar(m_control);
    m_vol->setObjectName(QStringLiteral("vol"));
    tw::place(m_vol, 0, 0, 1095, 200);

    m_SeekBar = new SeekSlider(m_control);
    m_SeekBar->setObjectName(QStringLiteral("SeekBar"));
    tw::place(m_SeekBar, 1000, -60, 3135, 375);

    m_sel = new PictureBox(m_control);
    m_sel->setObjectName(QStringLiteral("sel"));
    m_sel->setBackColor(QColor(40, 80, 140));
    tw::place(m_sel, 1000, 40, 15, 60);
    m_sel->hide();

    m_time = new QFrame(m_control);
    m_time->setObjectName(QStringLiteral("time"));
    tw::place(m_time, 4080, 20, 975, 180);
    QFont small = window->font();
    small.setPixelSize(10);
    lblMedia[4] = new CaptionLabel(QStringLiteral(" 00:00 "), m_time);
    lblMedia[4]->setObjectName(QStringLiteral("lblMedia4"));
    lblMedia[4]->setFont(small);
    lblMedia[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tw::place(lblMedia[4], 0, 0, 525, 180);
    lblMedia[3] = new CaptionLabel(QStringLiteral("00:00"), m_time);
    lblMedia[3]->setObjectName(QStringLiteral("lblMedia3"));
    lblMedia[3]->setFont(small);
    tw::place(lblMedia[3], 525, 0, 450, 180);

    m_right_panel = new QFrame(m_control);
    m_right_panel->setObjectName(QStringLiteral("right_panel"));
    tw::place(m_right_panel, 4680, 240, 300, 260);
    m_ImageLeft = images::listToggleLeft();
    m_ImageRight = images::listToggleRight();
    m_BtList = new PictureBox(m_right_panel);
    m_BtList->setObjectName(QStringLiteral("BtList"));
    m_BtList->setBackColor(window->palette().color(QPalette::Window));
    m_BtList->setCursor(Qt::PointingHandCursor);
    tw::place(m_BtList, 0, 0, 300, 260);

    buildToolbar(commands);

    // The full-screen control strip holds copies of the seek bar, the time and the volume.
    auto *strip = m_fullscreen_control = new QFrame(window);
    strip->setAutoFillBackground(true);
    strip->setObjectName(QStringLiteral("fullscreen_control"));
    strip->hide();
    m_SeekBarForFullscreen = new QProgressBar(strip);
    m_SeekBarForFullscreen->setObjectName(QStringLiteral("SeekBarForFullscreen"));
    m_SeekBarForFullscreen->setTextVisible(false);
    m_SeekBarForFullscreen->setRange(0, 10);
    m_SeekBarForFullscreen->setValue(0);
    m_time_forFullscreen = new CaptionLabel(QStringLiteral(" 00:00 "), strip);
    m_time_forFullscreen->setObjectName(QStringLiteral("time_forFullscreen"));
    m_volForFullscreen = new VolumeBar(strip);
    m_volForFullscreen->setObjectName(QStringLiteral("volForFullscreen"));
    tw::place(m_volForFullscreen, 0, 0, 1095, 200);
    connectBars();

    connect(lblMedia[3], &CaptionLabel::changed, this, [this] { lblMedia_Change(3); });
    connect(lblMedia[4], &CaptionLabel::changed, this, [this] { lblMedia_Change(4); });
    connect(m_BtList, &PictureBox::mouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            Q_EMIT listToggleClicked();
    });
    connect(m_BtList, &PictureBox::dblClick, this, &ControlBar::listToggleClicked);
}

void ControlBar::connectBars()
{
    const auto tx = [](QPoint p) { return tw::fromPixelsX(p.x()); };
    connect(m_SeekBar, &SeekSlider::mouseDown, this,
            [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseDown(b, s, tx(p)); });
    connect(m_SeekBar, &SeekSlider::mouseMove, this,
            [this, tx](Qt::MouseButtons b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseMove(b, s, tx(p)); });
    connect(m_SeekBar, &SeekSlider::mouseUp, this,
            [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseUp(b, s, tx(p)); });
    connect(m_SeekBar, &SeekSlider::gotFocus, this, &ControlBar::focusVideo);
    for (VolumeBar *bar : {m_vol, m_volForFullscreen}) {
        connect(bar, &VolumeBar::mouseDown, this,
                [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { setVolumeFromPointer(b, tx(p)); });
        // A move with the left button held sets the volume; the mute toggles on the right
        // press alone, not on every move with it held.
        connect(bar, &VolumeBar::mouseMove, this, [this, tx](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) {
            if (b & Qt::LeftButton)
                setVolumeFromPointer(Qt::LeftButton, tx(p));
        });
    }
    m_SeekBarForFullscreen->installEventFilter(this);
}

void ControlBar::attach(PlaybackState &state, NowPlaying &nowPlaying, Timer &tmrPosition)
{
    m_state = &state;
    m_nowPlaying = &nowPlaying;
    m_tmrPosition = &tmrPosition;
    connect(&state, &PlaybackState::positionChanged, this, &ControlBar::showPosition);
    connect(&state, &PlaybackState::durationChanged, this, &ControlBar::showDuration);
    connect(&state, &PlaybackState::sectionChanged, this, [this](SeekSection s) {
        m_SeekBar->setSelStart(s.start);
        m_SeekBar->setSelLength(s.length);
    });
    connect(&state, &PlaybackState::volumeChanged, this, [this](int v) {
        m_vol->setValueChecked(v);
        m_volForFullscreen->setValueChecked(v);
    });
    // Whoever sets the bar, the state follows it.
    connect(m_vol, &QProgressBar::valueChanged, &state, &PlaybackState::setVolume);
    auto showSpeed = [this](PlaySpeed speed) {
        static const char *const keys[] = {"bai20", "bai15", "bai10", "bai05"};
        setButtonImage(QStringLiteral("speed"), QString::fromLatin1(keys[speedIndex(speed)]));
    };
    auto showMode = [this](PlayMode mode) {
        static const char *const keys[] = {"normal", "rennzoku", "roop", "rnd"};
        setButtonImage(QStringLiteral("mode"), QString::fromLatin1(keys[playModeIndex(mode)]));
    };
    connect(&state, &PlaybackState::speedChanged, this, showSpeed);
    connect(&state, &PlaybackState::playModeChanged, this, showMode);
    showSpeed(state.speed());
    showMode(state.playMode());
    state.setVolume(m_vol->value());
}

void ControlBar::showPosition(double seconds)
{
    const int ups = m_state->unitsPerSecond();
    m_SeekBar->setValue(seek::roundHalfEven(seconds * ups));
    m_SeekBarForFullscreen->setValue(m_SeekBar->value());
    lblMedia[4]->setCaption(u' ' + CMovie::secondsToString(static_cast<int>(std::floor(seconds))) + u' ');
}

void ControlBar::showDuration(double seconds)
{
    const int ups = m_state->unitsPerSecond();
    m_SeekBar->setMax(static_cast<int>(std::lround(seconds * ups)));
    m_SeekBarForFullscreen->setMaximum(m_SeekBar->max());
    lblMedia[3]->setCaption(CMovie::secondsToString(m_SeekBar->max() / ups));
}

bool ControlBar::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_SeekBarForFullscreen && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove)) {
        auto *m = static_cast<QMouseEvent *>(e);
        const Qt::MouseButton button = e->type() == QEvent::MouseButtonPress ? m->button()
                                       : (m->buttons() & Qt::LeftButton) ? Qt::LeftButton
                                                                          : Qt::NoButton;
        SeekBarForFullscreen_MouseDown(button, tw::fromPixelsX(m->position().toPoint().x()));
        return true;
    }
    return QObject::eventFilter(o, e);
}

std::optional<int> ControlBar::pointer(int x) const
{
    if (!m_nowPlaying)
        return std::nullopt;
    return m_nowPlaying->pointerUnits(seek::trackFraction(x, tw::width(m_SeekBar)));
}

void ControlBar::SeekBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x)
{
    if (button == Qt::LeftButton && shift == Qt::ControlModifier) {
        // A section starts here.
        m_SeekBar->setCursor(Qt::UpArrowCursor);
        if (m_state)
            m_state->setSection({pointer(x).value_or(0), m_state->section().length});
        m_selTag = tw::left(m_SeekBar) + x;
        tw::setLeft(m_sel, m_selTag);
        tw::setTop(m_sel, 40);
        tw::setWidth(m_sel, 15);
        m_sel->show();
        m_sel->raise();
        return;
    }
    if (button == Qt::RightButton) {
        clearSection(); // a right click clears the section, as the tooltip says
        return;
    }
    if (button == Qt::LeftButton && m_nowPlaying)
        m_seekPaused = m_nowPlaying->pauseForDrag();
}

void ControlBar::SeekBar_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x)
{
    if (!(buttons & Qt::LeftButton))
        return;
    if (shift == Qt::ControlModifier) {
        if (!m_sel->isVisible())
            return;
        const seek::Marker m = seek::markerSpan(m_selTag, x, tw::left(m_SeekBar), tw::width(m_SeekBar));
        tw::setLeft(m_sel, m.left);
        tw::setWidth(m_sel, m.width);
        return;
    }
    seekToPointer(Qt::LeftButton, x);
}

void ControlBar::SeekBar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x)
{
    if (button != Qt::LeftButton)
        return;
    seekToPointer(button, x);
    if (m_seekPaused && m_nowPlaying) {
        m_nowPlaying->resumeAfterDrag();
        m_seekPaused = false;
    }
}

void ControlBar::clearSection()
{
    if (m_state)
        m_state->setSection({m_state->section().start, 0});
}

void ControlBar::seekToPointer(Qt::MouseButton button, int x)
{
    clearSection();
    if (!m_nowPlaying || !m_state)
        return;
    NowPlaying &np = *m_nowPlaying;
    if (m_sel->isVisible()) {
        // A section drag ends: from its start to here, either way round.
        const int s = m_state->section().start;
        const seek::Section section = seek::endSection(s, pointer(x).value_or(s), m_SeekBar->max());
        m_state->setSection({section.start, section.length});
        if (!np.inCommand()) { // a timer tick or an engine command runs: it keeps the flag
            np.setInCommand(true);
            np.seek(section.start);
            np.setInCommand(false);
        } else {
            m_state->setPosition(double(section.start) / m_state->unitsPerSecond());
        }
        m_SeekBar->unsetCursor();
        m_sel->hide();
        return;
    }
    if (button != Qt::LeftButton || np.inCommand())
        return; // a timer tick or an engine command runs
    np.setInCommand(true);
    if (const auto p = pointer(x))
        np.seek(*p);
    np.setInCommand(false);
}

void ControlBar::SeekBarForFullscreen_MouseDown(Qt::MouseButton button, int x)
{
    if (button != Qt::LeftButton || !m_nowPlaying || m_nowPlaying->inCommand())
        return;
    NowPlaying &np = *m_nowPlaying;
    const auto length = np.lengthUnits();
    if (!length)
        return;
    const int p = seek::fullScreenPointer(x, tw::width(m_SeekBarForFullscreen), *length);
    if (np.isRealMedia()) {
        np.seek(p);
        return;
    }
    np.setInCommand(true);
    if (m_tmrPosition)
        m_tmrPosition->setEnabled(false);
    np.seek(p);
    if (m_tmrPosition)
        m_tmrPosition->setEnabled(true);
    np.setInCommand(false);
}

void ControlBar::setVolumeFromPointer(Qt::MouseButton button, int x)
{
    if (button == Qt::LeftButton) {
        const auto v = seek::volumeFromPointer(x, tw::width(m_vol));
        if (!v)
            return; // left of the bar: refused, the setting stays
        setVolume(*v);
        if (m_nowPlaying)
            m_nowPlaying->setVolume(*v, false);
        return;
    }
    if (button != Qt::RightButton)
        return;
    if (m_vol->value() != 0) {
        m_muteVolume = m_vol->value();
        setVolume(0);
        if (m_state)
            m_state->setMuted(true);
        if (m_nowPlaying)
            m_nowPlaying->mute();
    } else {
        setVolume(m_muteVolume);
        if (m_nowPlaying)
            m_nowPlaying->setVolume(m_vol->value(), true);
    }
}

void ControlBar::buildToolbar(Commands &commands)
{
    m_panel = new QToolBar(m_control);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setIconSize(QSize(16, 16));
    m_panel->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tw::place(m_panel, 0, 225, 4600, 330);
    // Each button is its command's action: the command decides whether it is enabled.
    struct Button
    {
        const char *key;
        const QString &id;
        const char *tip;
    };
    const Button buttons[] = {
        {"play", command::play, "再生・一時停止"},
        {"stop", command::stop, ""},
        {"pre", command::pre, "前の動画"},
        {"next", command::next, "次の動画"},
        {"size", command::sizeMenu, "サイズ変更"},
        {"speed", command::speedMenu, "再生ｽﾋﾟｰﾄﾞ"},
        {"mode", command::modeMenu, "再生モード"},
        {"temae", command::windowMenu, "表示設定"},
        {"capture", command::capture, "サムネイル画像のキャプチャー（失敗しやすいようです・・・最初と最後のフレーム付近の成功率が高いようです)"},
        {"fullscreen", command::fullScreen, "フルスクリーン表示"},
    };
    for (const Button &b : buttons) {
        const QString k = QString::fromUtf8(b.key);
        const QString imageKey = k == u"speed" ? QStringLiteral("bai10")
                                 : k == u"mode" ? QStringLiteral("rennzoku")
                                 : k == u"capture" ? QStringLiteral("capture_mask")
                                                   : k;
        QAction *a = commands.action(b.id);
        a->setIcon(images::buttonImage(imageKey));
        a->setIconVisibleInMenu(false);
        a->setToolTip(QString::fromUtf8(b.tip));
        m_panel->addAction(a);
        m_panelButtons[k] = a;
    }
}

void ControlBar::layoutControlBar()
{
    const layout::ControlBarPlaces p =
        layout::controlBar(tw::width(m_control), tw::width(m_time), tw::width(m_vol), tw::width(m_right_panel));
    tw::setWidth(m_SeekBar, p.seekBarWidth);
    tw::setLeft(m_time, p.timeLeft);
    tw::setLeft(m_right_panel, p.rightPanelLeft);
}

void ControlBar::lblMedia_Change(int index)
{
    if (index == 4)
        m_time_forFullscreen->setCaption(lblMedia[4]->caption());
}

void ControlBar::setButtonImage(const QString &button, const QString &imageKey)
{
    const auto it = m_panelButtons.find(button);
    if (it != m_panelButtons.end())
        it->second->setIcon(images::buttonImage(imageKey));
}

void ControlBar::showListToggle(bool paneShown)
{
    m_BtList->setPicture(paneShown ? m_ImageLeft : m_ImageRight);
}

bool ControlBar::setVolume(int v)
{
    if (v < m_vol->minimum() || v > m_vol->maximum())
        return false; // refused: the setting stays
    if (m_state) {
        m_state->setMuted(false);
        m_state->setVolume(v); // the bars follow
        return true;
    }
    m_vol->setValueChecked(v);
    m_volForFullscreen->setValueChecked(v);
    return true;
}

void ControlBar::changeVolume(int v)
{
    setVolume(v);
    if (m_nowPlaying)
        m_nowPlaying->setVolume(m_vol->value(), false);
}

void ControlBar::restoreConfig(const ConfigValues &c)
{
    setVolume(c.volume);
}

void ControlBar::saveConfig(ConfigValues &c) const
{
    c.volume = m_vol->value();
}
