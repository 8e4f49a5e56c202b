#pragma once
// The control bar under the video: the volume bar, the seek bar, the time, the toolbar
// `panel` and the list toggle `BtList`; and the full-screen strip's copies of the seek bar,
// the time and the volume. It lays itself out (layoutControlBar) and reports its buttons.

#include <QObject>
#include <QPixmap>
#include <QString>

#include <array>
#include <map>
#include <optional>

class CaptionFrame;
class NowPlaying;
class Timer;
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
    // The full-screen control strip over the top of the video, with copies of the seek bar,
    // the time and the volume.
    QFrame *fullscreen_control = nullptr;
    QProgressBar *SeekBarForFullscreen = nullptr;
    CaptionLabel *time_forFullscreen = nullptr;
    VolumeBar *volForFullscreen = nullptr;
    // The marker of a section being dragged over the seek bar; its Tag is the drag's start.
    PictureBox *sel = nullptr;
    int selTag = 0;
    // A plain drag on the seek bar paused a playing file, to run it again at the release.
    bool seekPaused = false;
    // The volume setting kept by the last mute, given back by the next unmute.
    int muteVolume = 0;

    // The engine the bars seek and set the volume of, and the position timer that a
    // full-screen seek holds off.
    void attach(NowPlaying &nowPlaying, Timer &tmrPosition);

    // The seek bar's mouse, x in twips from the slider's left edge.
    void SeekBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x);
    void SeekBar_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x);
    void SeekBar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x);
    void seekToPointer(Qt::MouseButton button, int x);
    void SeekBarForFullscreen_MouseDown(Qt::MouseButton button, int x);
    // The volume bars' mouse (both use vol's width), x in twips.
    void setVolumeFromPointer(Qt::MouseButton button, int x);

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
    // The seek bar got the focus: the video takes it (keys go to the video's handlers).
    void focusVideo();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void buildToolbar();
    void connectBars();
    // The position a pointer at x on the seek bar stands for; nullopt with nothing open.
    std::optional<int> pointer(int x) const;

    NowPlaying *m_nowPlaying = nullptr;
    Timer *m_tmrPosition = nullptr;
};
