#pragma once
// The control bar under the video: the volume bar, the seek bar, the time, the toolbar
// `panel` and the list toggle `BtList`; and the full-screen strip's copies of the seek bar,
// the time and the volume. It lays itself out (layoutControlBar) and reports its buttons.

#include <QObject>
#include <QPixmap>
#include <QString>

#include <array>
#include <map>

class CaptionFrame;
class CaptionLabel;
class PictureBox;
class QAction;
class QFrame;
class QProgressBar;
class QToolBar;
class QWidget;
class SeekSlider;
class VolumeBar;

class ControlBar : public QObject
{
    Q_OBJECT
public:
    explicit ControlBar(QWidget *window);

    QFrame *control = nullptr;
    VolumeBar *vol = nullptr;
    SeekSlider *SeekBar = nullptr;
    CaptionFrame *time = nullptr;
    std::array<CaptionLabel *, 5> lblMedia{}; // indexes 3 (total) and 4 (current)
    QFrame *right_panel = nullptr;
    PictureBox *BtList = nullptr;
    QPixmap ImageLeft;
    QPixmap ImageRight;
    QToolBar *panel = nullptr;
    std::map<QString, QAction *> panelButtons;
    QProgressBar *SeekBarForFullscreen = nullptr;
    CaptionLabel *time_forFullscreen = nullptr;
    VolumeBar *volForFullscreen = nullptr;

    void layoutControlBar();
    void lblMedia_Change(int index);
    // A toolbar button's image, by the image key (images::buttonImage).
    void setButtonImage(const QString &button, const QString &imageKey);
    // The list toggle shows "hide the list" (pane shown) or "show the list".
    void showListToggle(bool paneShown);
    // Both volume bars; false (and nothing changes) for a value outside 0..100.
    bool setVolume(int v);

Q_SIGNALS:
    // A toolbar button was pressed: "play", "stop", "pre", "next", "size", "speed",
    // "mode", "temae", "capture", "fullscreen".
    void buttonClicked(const QString &key);
    // BtList was clicked with the left button, or double-clicked.
    void listToggleClicked();

private:
    void buildToolbar();
};
