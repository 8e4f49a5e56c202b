#pragma once
// Playback: the one road by which a file reaches the screen (openMedia), play, pause and
// stop, the position timer `tmrPosition`, the play modes and speeds, and the delayed volume
// of RealMedia files. The engine of the current file is reached through NowPlaying; what
// plays, where and how is kept in the observable PlaybackState, which the control bar, the
// menus and the caption show.

#include "playback/now_playing.h"
#include "playback/playback_state.h"
#include "playback/random_picker.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <random>

namespace platform {
class WaveOutDevice;
}
class CMovie;
class Commands;
struct ConfigValues;
class Options;
class PlaylistSource;
class QMenu;
class QTimer;
class QWidget;
class RealControl;
class Timer;
class VideoView;
class WindowModeView;

class Playback : public QObject
{
    Q_OBJECT
public:
    // Registers the playback commands (play, stop, pre, next, topseek, the speeds and the
    // play modes) and builds their menus.
    Playback(QWidget *window, Commands &commands, CMovie &movie, RealControl &rmovie, VideoView &view,
             const WindowModeView &modes, Options &options, PlaylistSource &playlist,
             std::shared_ptr<platform::WaveOutDevice> waveOut);
    ~Playback() override;

    PlaybackState &state() { return *m_state; }
    const PlaybackState &state() const { return *m_state; }
    NowPlaying &nowPlaying() { return m_nowPlaying; }
    const NowPlaying &nowPlaying() const { return m_nowPlaying; }
    Timer *tmrPosition() const { return m_tmrPosition; }
    Timer *Timer_adjust_volume() const { return m_Timer_adjust_volume; }
    // 再生メニュー, 再生スピード, 再生モード.
    QMenu *m() const { return m_m; }
    QMenu *m_speed() const { return m_m_speed; }
    QMenu *m_mode() const { return m_m_mode; }
    // The random play order's picker; its draws come from a generator seeded by the clock.
    RandomPicker &picker() { return m_picker; }
    // Seeds the random play order's generator (tests repeat an order).
    void seedRandom(unsigned int seed) { m_random.seed(seed); }

    // config.ini: the speed and the play mode.
    void restoreConfig(const ConfigValues &c);
    void saveConfig(ConfigValues &c) const;

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
    // A held key's seek of `step` seconds (± for the direction): it jumps once now, and the
    // position timer goes on jumping (the ordinary engine every 100 ms while the key is
    // held; RealMedia once more a second later). A step of 0 starts nothing.
    void startKeySeek(double step);
    // The key's release: no more jumps, and the position timer back at 500 ms.
    void endKeySeek();

    // The play mode by its index (0..3, the mode menu's order); another index changes nothing.
    void mode_Click(int index);
    PlayMode getPlayMode() const { return m_state->playMode(); }
    void playNext();
    void playPrevious();
    int pickRandom(int n) { return m_picker.pickRandom(n); }
    // "動画の先頭へシーク": the selected file's first frame, paused.
    void seekTop();

    // The speed by its index (0..3: 2.0, 1.5, 1.0, 0.5): set on the engine; another index
    // changes nothing.
    void bai_Click(int index);
    void applyRealVolume();
    void Timer_adjust_volume_Timer();
    // Shutdown: no timer of playback fires any more.
    void stopTimers();

Q_SIGNALS:
    // A file was opened (its scene menus and the window's caption follow).
    void opened(const QString &path);
    // The stop command ran: a window in full screen leaves it.
    void stopped();

private:
    // Next (forward) or previous: steps through the page shown, in order or at random,
    // then plays the row reached.
    void stepAndPlay(bool forward);
    // Plays the selected row after a step: the row's file if it exists, else what the
    // list does with a missing file. `selected` is the row to play.
    void playSelectedRow(int selected);
    // The position in seek-bar units as the state holds it.
    double positionUnits() const;

    void registerCommands(Commands &commands, QWidget *window);

    PlaybackState *m_state;
    QMenu *m_m = nullptr;
    QMenu *m_m_speed = nullptr;
    QMenu *m_m_mode = nullptr;
    NowPlaying m_nowPlaying;
    Timer *m_tmrPosition = nullptr;
    Timer *m_Timer_adjust_volume = nullptr;
    std::mt19937 m_random;
    RandomPicker m_picker;
    CMovie &m_movie;
    RealControl &m_rmovie;
    VideoView &m_view;
    const WindowModeView &m_modes;
    Options &m_options;
    PlaylistSource &m_playlist;
    QTimer *m_volumeAgain = nullptr; // the second RealMedia volume, 100 ms after the first
    std::optional<PendingStart> m_pendingStart;
    std::shared_ptr<platform::WaveOutDevice> m_waveOut;
};
