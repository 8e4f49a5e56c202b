#pragma once
// Playback: the one road by which a file reaches the screen (openMedia), play, pause and
// stop, the position timer `tmrPosition`, the play modes and speeds with their menus, and
// the delayed volume of RealMedia files. The engine of the current file is reached through
// NowPlaying.

#include "playback/now_playing.h"
#include "playback/random_picker.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <random>

namespace platform {
class WaveOutDevice;
}
class ControlBar;
class Options;
class PlaylistSource;
class QAction;
class QMenu;
class QTimer;
class QWidget;
class Timer;
class VideoArea;
class WindowModes;

class Playback : public QObject
{
    Q_OBJECT
public:
    Playback(QWidget *window, VideoArea &video, ControlBar &controls, Options &options,
             PlaylistSource &playlist, WindowModes &modes, std::shared_ptr<platform::WaveOutDevice> waveOut);
    ~Playback() override;

    NowPlaying nowPlaying;
    Timer *tmrPosition = nullptr;
    Timer *Timer_adjust_volume = nullptr;
    QMenu *m = nullptr; // 再生メニュー
    QAction *play = nullptr;
    QAction *stop = nullptr;
    QAction *pre = nullptr;
    QAction *next = nullptr;
    QAction *mTopSeek = nullptr;
    QMenu *m_speed = nullptr;
    std::array<QAction *, 4> bai{};
    QMenu *m_mode = nullptr;
    std::array<QAction *, 4> mode{};
    std::mt19937 random;
    // The random play order's picker (its draws come from `random`).
    RandomPicker picker;
    bool realStateEvent = false;

    void openMedia(const QString &path, double pos);
    // A file named before it was ever opened (a paused file restored at start-up): the
    // first open of it from the start begins at this position instead. Any open uses it up.
    struct PendingStart
    {
        QString path;
        double position = 0;
    };
    void setPendingStart(const QString &path, double position) { m_pendingStart = PendingStart{path, position}; }
    std::optional<PendingStart> pendingStart() const { return m_pendingStart; }
    void playPause();
    void play_Click() { playPause(); }
    void stop_Click();
    void resumeIfPaused(const QString &path);
    void tmrPosition_Timer();

    void mode_Click(int index);
    int getPlayMode() const;
    void playNext();
    void playPrevious();
    int pickRandom(int n) { return picker.pickRandom(n); }
    // "動画の先頭へシーク": the selected file's first frame, paused.
    void seekTop();

    void bai_Click(int index);
    // The checked speed, searched from the last item down; -1 when none is checked.
    int checkedSpeed() const;
    void applyRealVolume();
    void Timer_adjust_volume_Timer();
    // Shutdown: no timer of playback fires any more.
    void stopTimers();

Q_SIGNALS:
    // A file was opened (its scene menus follow).
    void opened(const QString &path);

private:
    // Next (forward) or previous: steps through the page shown, in order or at random,
    // then plays the row reached.
    void stepAndPlay(bool forward);
    // Plays the selected row after a step: the row's file if it exists, else what the
    // list does with a missing file. `selected` is the row to play.
    void playSelectedRow(int selected);

    QWidget *m_window;
    VideoArea &m_video;
    ControlBar &m_controls;
    Options &m_options;
    PlaylistSource &m_playlist;
    QTimer *m_volumeAgain = nullptr; // the second RealMedia volume, 100 ms after the first
    WindowModes &m_modes;
    std::optional<PendingStart> m_pendingStart;
    std::shared_ptr<platform::WaveOutDevice> m_waveOut;
};
