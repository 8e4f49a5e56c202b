#include "window/control_bar.h"

#include "app/images.h"
#include "window/controls.h"
#include "window/layout_math.h"
#include "window/twips.h"

#include <QAction>
#include <QFrame>
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
    auto *strip = new QFrame(window);
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

    connect(lblMedia[3], &CaptionLabel::changed, this, [this] { lblMedia_Change(3); });
    connect(lblMedia[4], &CaptionLabel::changed, this, [this] { lblMedia_Change(4); });
    connect(BtList, &PictureBox::mouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            Q_EMIT listToggleClicked();
    });
    connect(BtList, &PictureBox::dblClick, this, &ControlBar::listToggleClicked);
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
