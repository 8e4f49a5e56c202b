#pragma once
// Which engine plays the current file, and everything the program asks of it in the seek
// bar's units: hundredths of a second for the ordinary engine (CMovie), milliseconds for
// the RealMedia control. This is the one place that knows the current file is RealMedia;
// position, length, seeks, play and pause, volume and picture size of either engine go
// through here.

#include "playback/playback_state.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

namespace platform {
class WaveOutDevice;
}
class CMovie;
class PlaybackState;
class QWidget;
class RealControl;

class NowPlaying
{
public:
    // RealMedia files get their volume through the system mixer `waveOut`. The open file,
    // its engine, its status and the seeks made are told to `state`.
    NowPlaying(CMovie &movie, RealControl &rmovie, PlaybackState &state,
               std::shared_ptr<platform::WaveOutDevice> waveOut);

    // Chooses the engine for a file by its extension: rm, ram and ra play in the RealMedia
    // control, everything else in CMovie.
    void checkRealMedia(const QString &extension);
    bool isRealMedia() const { return m_isRealMedia; }
    // Seek-bar units per second: 1000 for RealMedia, 100 otherwise.
    int unitsPerSecond() const { return m_isRealMedia ? 1000 : 100; }

    // The current engine's file: the control's source for RealMedia, else CMovie's file.
    QString source() const;
    // Whether `path` is the current engine's file and it is paused.
    bool isPausedOn(const QString &path) const;
    // Runs the current engine's paused file on.
    void resume();
    // The play state the window modes go by: Playing, Paused, Stopped, or Closed before any
    // file was opened. A RealMedia file counts by the control's state (loading counts as
    // playing), so full screen and the size menu work for it too.
    PlayStatus status() const;

    // Opens the file in the chosen engine (in `display` for CMovie) at `pos` seconds with
    // the volume bar's value, and gives the duration code: for RealMedia the length known
    // so far in seconds, for CMovie MediaOpen's code.
    double open(const QString &path, double pos, QWidget *display, int volumeBar);
    // Closes CMovie's file (the stop command's last step).
    void close();
    // Tells the state which file is open, in which engine, and whether it plays.
    void syncStatus();
    // Whether the open with this duration code succeeded (CMovie's 0 is a failure).
    bool openSucceeded(double code) const { return m_isRealMedia || code != 0; }
    // The seek bar's maximum for a duration code of a successful open; nullopt when the
    // length cannot be told yet (the bar keeps its maximum).
    std::optional<int> lengthFromCode(double code) const;

    // Plays or pauses `file` when it is the current engine's open file and returns true; else
    // false (the caller opens it). A RealMedia file that is not the current one starts in
    // the control at once (true).
    bool togglePlay(const QString &file);
    // Stops both engines and unloads the RealMedia control.
    void stopAll();

    // ---- The position timer's reads and commands, in seek-bar units.
    // A tick starts and ends: CMovie's commands wait meanwhile.
    void beginTick();
    void endTick();
    // The length that the seek bar follows at each tick: RealMedia's, read anew; nullopt
    // for CMovie, whose length is set at the open.
    std::optional<int> tickLength() const;
    // The position; nullopt when it cannot be read (nothing open, still loading).
    std::optional<double> position() const;
    // The position in the engine's own unit, as the scene files keep it: seconds for
    // CMovie, milliseconds for RealMedia; nullopt when it cannot be read.
    std::optional<double> enginePosition() const;
    // Whether the engine's own positions count milliseconds (RealMedia) rather than seconds.
    bool engineCountsMilliseconds() const { return m_isRealMedia; }
    // Whether the position has run past the length (a section's end beyond the file).
    bool beyondLength() const;
    // Whether the file has reached its end (RealMedia: within half a second of it, never at 0).
    bool atEnd() const;
    void seek(int units);
    // Loop mode at the end: back to 0 and on.
    void rewindAndPlay();
    // Normal mode at the end: stopped.
    void stopAtEnd();
    // A held key's skip of `step` seconds. Returns the timer interval for the next tick:
    // RealMedia jumps once (3 s a step) and ticks a second later; CMovie skips again every
    // 100 ms while the key is held. nullopt when nothing is open to skip in.
    std::optional<int> skip(double step);
    // Whether the skip is done once and its request then cleared.
    bool skipOnce() const { return m_isRealMedia; }

    // ---- Seeking from the seek bars.
    // An engine command or a timer tick runs (CMovie's mblnInCommand): seeks and the
    // volume wait.
    bool inCommand() const;
    void setInCommand(bool on);
    // The position a fraction of the clip stands for, in seek-bar units; nullopt when the
    // length cannot be read.
    std::optional<int> pointerUnits(double fraction) const;
    // The clip's length in seek-bar units; nullopt when it cannot be read.
    std::optional<double> lengthUnits() const;
    // A drag on the seek bar pauses a playing ordinary file and runs it again at the end.
    // True when it paused it.
    bool pauseForDrag();
    void resumeAfterDrag();

    // ---- Volume.
    // The volume of RealMedia files goes through the system mixer.
    bool volumeThroughMixer() const { return m_isRealMedia; }
    // Sets the volume bar's setting (0..100) on the current engine. The ordinary engine is
    // skipped while a command runs, unless `evenInCommand` (an unmute).
    void setVolume(int setting, bool evenInCommand);
    // Mutes the current engine (the bars are at 0).
    void mute();
    // The mixer level found at start-up, less 32767.
    int startWaveVolume() const { return m_startWaveVolume; }
    // Reads the mixer at start-up.
    void readStartWaveVolume();
    // The mixer level for a RealMedia file at this setting. Nothing is set when start-up
    // could not read the mixer (a failed read would otherwise mute the machine).
    void applyRealVolume(int setting);
    // At exit: gives the mixer back the level found at start-up, only when this run set it.
    void restoreWaveVolume();

private:
    CMovie &m_movie;
    RealControl &m_rmovie;
    PlaybackState &m_state;
    std::shared_ptr<platform::WaveOutDevice> m_waveOut;
    bool m_isRealMedia = false;
    int m_startWaveVolume = 0;
    bool m_waveRead = false;     // start-up read the mixer
    bool m_waveChanged = false;  // this run set the mixer
};
