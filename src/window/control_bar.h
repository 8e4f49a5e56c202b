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

class Commands;
struct ConfigValues;
class NowPlaying;
class PlaybackState;
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
    // The toolbar shows the commands' actions.
    ControlBar(QWidget *window, Commands &commands);

    std::array<CaptionLabel *, 5> lblMedia{}; // indexes 3 (total) and 4 (current)

    // The playback state the bars, the labels and the toolbar's pictures show (and that
    // the bars change), the engine they seek and set the volume of, and the position timer
    // that a full-screen seek holds off.
    void attach(PlaybackState &state, NowPlaying &nowPlaying, Timer &tmrPosition);

    // The seek bar's mouse, x in twips from the slider's left edge.
    void SeekBar_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x);
    void SeekBar_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x);
    void SeekBar_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x);
    void seekToPointer(Qt::MouseButton button, int x);
    void SeekBarForFullscreen_MouseDown(Qt::MouseButton button, int x);
    // The volume bars' mouse (both use vol's width), x in twips.
    void setVolumeFromPointer(Qt::MouseButton button, int x);

    // config.ini: the volume.
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;
    void layoutControlBar();
    void lblMedia_Change(int index);
    // A toolbar button's image, by the image key (images::buttonImage).
    void setButtonImage(const QString &button, const QString &imageKey);
    // The list toggle shows "hide the list" (pane shown) or "show the list".
    void showListToggle(bool paneShown);
    // Both volume bars; false (and nothing changes) for a value outside 0..100.
    bool setVolume(int v);
    // A volume set from outside the bars (a key, the desktop's media controls), by the bars'
    // own path: the bars, then the engine.
    void changeVolume(int v);

    // ---- What other rooms read
    QFrame *control() const { return m_control; }
    VolumeBar *vol() const { return m_vol; }
    SeekSlider *SeekBar() const { return m_SeekBar; }
    QFrame *time() const { return m_time; }
    QFrame *right_panel() const { return m_right_panel; }
    PictureBox *BtList() const { return m_BtList; }
    const QPixmap &ImageLeft() const { return m_ImageLeft; }
    const QPixmap &ImageRight() const { return m_ImageRight; }
    QToolBar *panel() const { return m_panel; }
    const std::map<QString, QAction*> &panelButtons() const { return m_panelButtons; }
    // The full-screen control strip over the top of the video, with copies of the seek bar,
    // the time and the volume.
    QFrame *fullscreen_control() const { return m_fullscreen_control; }
    QProgressBar *SeekBarForFullscreen() const { return m_SeekBarForFullscreen; }
    CaptionLabel *time_forFullscreen() const { return m_time_forFullscreen; }
    VolumeBar *volForFullscreen() const { return m_volForFullscreen; }
    // The marker of a section being dragged over the seek bar; its Tag is the drag's start.
    PictureBox *sel() const { return m_sel; }
    int selTag() const { return m_selTag; }
    // A plain drag on the seek bar paused a playing file, to run it again at the release.
    bool seekPaused() const { return m_seekPaused; }
    // The volume setting kept by the last mute, given back by the next unmute.
    int muteVolume() const { return m_muteVolume; }

Q_SIGNALS:
    // BtList was clicked with the left button, or double-clicked.
    void listToggleClicked();
    // The seek bar got the focus: the video takes it (keys go to the video's handlers).
    void focusVideo();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void buildToolbar(Commands &commands);
    // The state shown: the position, the length, the section, the volume, the pictures of
    // the speed and the mode.
    void showPosition(double seconds);
    void showDuration(double seconds);
    // A right click or a new seek ends the marked section.
    void clearSection();
    void connectBars();
    // The position a pointer at x on the seek bar stands for; nullopt with nothing open.
    std::optional<int> pointer(int x) const;

    PlaybackState *m_state = nullptr;
    NowPlaying *m_nowPlaying = nullptr;
    Timer *m_tmrPosition = nullptr;

private:
    QFrame *m_control = nullptr;
    VolumeBar *m_vol = nullptr;
    SeekSlider *m_SeekBar = nullptr;
    QFrame *m_time = nullptr;
    QFrame *m_right_panel = nullptr;
    PictureBox *m_BtList = nullptr;
    QPixmap m_ImageLeft;
    QPixmap m_ImageRight;
    QToolBar *m_panel = nullptr;
    std::map<QString, QAction *> m_panelButtons;
    // The full-screen control strip over the top of the video, with copies of the seek bar,
    // the time and the volume.
    QFrame *m_fullscreen_control = nullptr;
    QProgressBar *m_SeekBarForFullscreen = nullptr;
    CaptionLabel *m_time_forFullscreen = nullptr;
    VolumeBar *m_volForFullscreen = nullptr;
    // The marker of a section being dragged over the seek bar; its Tag is the drag's start.
    PictureBox *m_sel = nullptr;
    int m_selTag = 0;
    // A plain drag on the seek bar paused a playing file, to run it again at the release.
    bool m_seekPaused = false;
    // The volume setting kept by the last mute, given back by the next unmute.
    int m_muteVolume = 0;
};
