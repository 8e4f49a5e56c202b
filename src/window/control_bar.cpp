#include "window/control_bar.h"

#include "widgets/images.h"
#include "widgets/timer.h"
#include "playback/now_playing.h"
#include "widgets/seek_math.h"
#include "widgets/controls.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"

#include <QAction>
#include <QFrame>
#include <QMouseEvent>
#include <QProgressBar>
#include <QToolBar>

namespace tw = twips;

ControlBar::ControlBar(QWidget *window) : QObject(window)
{
    control = new QFrame(window);
    control->setObjectName(QStringLiteral("control"));
    tw::place(control, 0, 3720, 5415, 555);

    vol = new VolumeBar(control);
    vol->setObjectName(QStringLiteral("vol"));
    tw::place(vol, 0, 0, 1095, 200);

    SeekBar = new SeekSlider(control);
    SeekBar->setObjectName(QStringLiteral("SeekBar"));
    tw::place(SeekBar, 1000, -60, 3135, 375);

    sel = new PictureBox(control);
    sel->setObjectName(QStringLiteral("sel"));
    sel->setBackColor(QColor(40, 80, 140));
    tw::place(sel, 1000, 40, 15, 60);
    sel->hide();

    time = new CaptionFrame(control);
    time->setObjectName(QStringLiteral("time"));
    tw::place(time, 4080, 20, 975, 180);
    QFont small = window->font();
    small.setPixelSize(10);
    lblMedia[4] = new CaptionLabel(QStringLiteral(" 00:00 "), time);
    lblMedia[4]->setObjectName(QStringLiteral("lblMedia4"));
    lblMedia[4]->setFont(small);
    lblMedia[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tw::place(lblMedia[4], 0, 0, 525, 180);
    lblMedia[3] = new CaptionLabel(QStringLiteral("00:00"), time);
    lblMedia[3]->setObjectName(QStringLiteral("lblMedia3"));
    lblMedia[3]->setFont(small);
    tw::place(lblMedia[3], 525, 0, 450, 180);

    right_panel = new QFrame(control);
    right_panel->setObjectName(QStringLiteral("right_panel"));
    tw::place(right_panel, 4680, 240, 300, 260);
    ImageLeft = images::listToggleLeft();
    ImageRight = images::listToggleRight();
    BtList = new PictureBox(right_panel);
    BtList->setObjectName(QStringLiteral("BtList"));
    BtList->setBackColor(window->palette().color(QPalette::Window));
    BtList->setCursor(Qt::PointingHandCursor);
    tw::place(BtList, 0, 0, 300, 260);

    buildToolbar();

    // The full-screen control strip holds copies of the seek bar, the time and the volume.
    auto *strip = fullscreen_control = new QFrame(window);
    strip->setAutoFillBackground(true);
    strip->setObjectName(QStringLiteral("fullscreen_control"));
    strip->hide();
    SeekBarForFullscreen = new QProgressBar(strip);
    SeekBarForFullscreen->setObjectName(QStringLiteral("SeekBarForFullscreen"));
    SeekBarForFullscreen->setTextVisible(false);
    SeekBarForFullscreen->setRange(0, 10);
    SeekBarForFullscreen->setValue(0);
    time_forFullscreen = new CaptionLabel(QStringLiteral(" 00:00 "), strip);
    time_forFullscreen->setObjectName(QStringLiteral("time_forFullscreen"));
    volForFullscreen = new VolumeBar(strip);
    volForFullscreen->setObjectName(QStringLiteral("volForFullscreen"));
    tw::place(volForFullscreen, 0, 0, 1095, 200);
    connectBars();

    connect(lblMedia[3], &CaptionLabel::changed, this, [this] { lblMedia_Change(3); });
    connect(lblMedia[4], &CaptionLabel::changed, this, [this] { lblMedia_Change(4); });
    connect(BtList, &PictureBox::mouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            Q_EMIT listToggleClicked();
    });
    connect(BtList, &PictureBox::dblClick, this, &ControlBar::listToggleClicked);
}

void ControlBar::connectBars()
{
    const auto tx = [](QPoint p) { return tw::fromPixelsX(p.x()); };
    connect(SeekBar, &SeekSlider::mouseDown, this,
            [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseDown(b, s, tx(p)); });
    connect(SeekBar, &SeekSlider::mouseMove, this,
            [this, tx](Qt::MouseButtons b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseMove(b, s, tx(p)); });
    connect(SeekBar, &SeekSlider::mouseUp, this,
            [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers s, QPoint p) { SeekBar_MouseUp(b, s, tx(p)); });
    connect(SeekBar, &SeekSlider::gotFocus, this, &ControlBar::focusVideo);
    for (VolumeBar *bar : {vol, volForFullscreen}) {
        connect(bar, &VolumeBar::mouseDown, this,
                [this, tx](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) { setVolumeFromPointer(b, tx(p)); });
        // A move with the left button held sets the volume; the mute toggles on the right
        // press alone, not on every move with it held.
        connect(bar, &VolumeBar::mouseMove, this, [this, tx](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) {
            if (b & Qt::LeftButton)
                setVolumeFromPointer(Qt::LeftButton, tx(p));
        });
    }
    SeekBarForFullscreen->installEventFilter(this);
}

void ControlBar::attach(NowPlaying &nowPlaying, Timer &tmrPosition)
{
    m_nowPlaying = &nowPlaying;
    m_tmrPosition = &tmrPosition;
}

bool ControlBar::eventFilter(QObject *o, QEvent *e)
{
    if (o == SeekBarForFullscreen && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove)) {
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
    return m_nowPlaying->pointerUnits(seek::trackFraction(x, tw::width(SeekBar)));
}

void ControlBar::SeekBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x)
{
    if (button == Qt::LeftButton && shift == Qt::ControlModifier) {
        // A section starts here.
        SeekBar->setCursor(Qt::UpArrowCursor);
        SeekBar->setSelStart(pointer(x).value_or(0));
        selTag = tw::left(SeekBar) + x;
        tw::setLeft(sel, selTag);
        tw::setTop(sel, 40);
        tw::setWidth(sel, 15);
        sel->show();
        sel->raise();
        return;
    }
    if (button == Qt::RightButton) {
        SeekBar->setSelLength(0); // a right click clears the section, as the tooltip says
        return;
    }
    if (button == Qt::LeftButton && m_nowPlaying)
        seekPaused = m_nowPlaying->pauseForDrag();
}

void ControlBar::SeekBar_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x)
{
    if (!(buttons & Qt::LeftButton))
        return;
    if (shift == Qt::ControlModifier) {
        if (!sel->isVisible())
            return;
        const seek::Marker m = seek::markerSpan(selTag, x, tw::left(SeekBar), tw::width(SeekBar));
        tw::setLeft(sel, m.left);
        tw::setWidth(sel, m.width);
        return;
    }
    seekToPointer(Qt::LeftButton, x);
}

void ControlBar::SeekBar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x)
{
    if (button != Qt::LeftButton)
        return;
    seekToPointer(button, x);
    if (seekPaused && m_nowPlaying) {
        m_nowPlaying->resumeAfterDrag();
        seekPaused = false;
    }
}

void ControlBar::seekToPointer(Qt::MouseButton button, int x)
{
    SeekBar->setSelLength(0);
    if (!m_nowPlaying)
        return;
    NowPlaying &np = *m_nowPlaying;
    if (sel->isVisible()) {
        // A section drag ends: from its start to here, either way round.
        const int s = SeekBar->selStart();
        const seek::Section section = seek::endSection(s, pointer(x).value_or(s), SeekBar->max());
        SeekBar->setSelStart(section.start);
        SeekBar->setSelLength(section.length);
        SeekBar->setValue(section.start);
        if (!np.inCommand()) { // a timer tick or an engine command runs: it keeps the flag
            np.setInCommand(true);
            np.seek(section.start);
            np.setInCommand(false);
        }
        SeekBar->unsetCursor();
        sel->hide();
        return;
    }
    if (button != Qt::LeftButton || np.inCommand())
        return; // a timer tick or an engine command runs
    np.setInCommand(true);
    if (const auto p = pointer(x)) {
        SeekBar->setValue(*p);
        np.seek(*p);
    }
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
    const int p = seek::fullScreenPointer(x, tw::width(SeekBarForFullscreen), *length);
    if (np.isRealMedia()) {
        np.seek(p);
        return;
    }
    np.setInCommand(true);
    if (m_tmrPosition)
        m_tmrPosition->setEnabled(false);
    SeekBar->setValue(p);
    SeekBarForFullscreen->setValue(p);
    np.seek(p);
    if (m_tmrPosition)
        m_tmrPosition->setEnabled(true);
    np.setInCommand(false);
}

void ControlBar::setVolumeFromPointer(Qt::MouseButton button, int x)
{
    if (button == Qt::LeftButton) {
        const auto v = seek::volumeFromPointer(x, tw::width(vol));
        if (!v)
            return; // left of the bar: refused, the setting stays
        setVolume(*v);
        if (m_nowPlaying)
            m_nowPlaying->setVolume(*v, false);
        return;
    }
    if (button != Qt::RightButton)
        return;
    if (vol->value() != 0) {
        muteVolume = vol->value();
        setVolume(0);
        if (m_nowPlaying)
            m_nowPlaying->mute();
    } else {
        setVolume(muteVolume);
        if (m_nowPlaying)
            m_nowPlaying->setVolume(vol->value(), true);
    }
}

void ControlBar::buildToolbar()
{
    panel = new QToolBar(control);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setIconSize(QSize(16, 16));
    panel->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tw::place(panel, 0, 225, 4600, 330);
    const std::pair<const char *, const char *> buttons[] = {
        {"play", "再生・一時停止"},
        {"stop", ""},
        {"pre", "前の動画"},
        {"next", "次の動画"},
        {"size", "サイズ変更"},
        {"speed", "再生ｽﾋﾟｰﾄﾞ"},
        {"mode", "再生モード"},
        {"temae", "表示設定"},
        {"capture", "サムネイル画像のキャプチャー（失敗しやすいようです・・・最初と最後のフレーム付近の成功率が高いようです)"},
        {"fullscreen", "フルスクリーン表示"},
    };
    for (const auto &[key, tip] : buttons) {
        const QString k = QString::fromUtf8(key);
        const QString imageKey = k == u"speed" ? QStringLiteral("bai10")
                                 : k == u"mode" ? QStringLiteral("rennzoku")
                                 : k == u"capture" ? QStringLiteral("capture_mask")
                                                   : k;
        QAction *a = panel->addAction(images::buttonImage(imageKey), QString());
        a->setObjectName(k);
        a->setToolTip(QString::fromUtf8(tip));
        panelButtons[k] = a;
        connect(a, &QAction::triggered, this, [this, k] { Q_EMIT buttonClicked(k); });
    }
}

void ControlBar::layoutControlBar()
{
    const layout::ControlBarPlaces p =
        layout::controlBar(tw::width(control), tw::width(time), tw::width(vol), tw::width(right_panel));
    tw::setWidth(SeekBar, p.seekBarWidth);
    tw::setLeft(time, p.timeLeft);
    tw::setLeft(right_panel, p.rightPanelLeft);
}

void ControlBar::lblMedia_Change(int index)
{
    if (index == 4)
        time_forFullscreen->setCaption(lblMedia[4]->caption());
}

void ControlBar::setButtonImage(const QString &button, const QString &imageKey)
{
    const auto it = panelButtons.find(button);
    if (it != panelButtons.end())
        it->second->setIcon(images::buttonImage(imageKey));
}

void ControlBar::showListToggle(bool paneShown)
{
    BtList->setPicture(paneShown ? ImageLeft : ImageRight);
}

bool ControlBar::setVolume(int v)
{
    if (!vol->setValueChecked(v))
        return false;
    volForFullscreen->setValueChecked(v);
    return true;
}
