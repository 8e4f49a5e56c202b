#pragma once
// The playback state as one observable value: the open file and its engine, whether it
// plays, its position and duration, the speed, the play mode, the volume, the marked
// section and a held key's seek. Playback and the control bar change it; the seek bar,
// the labels, the menus, the caption (and the desktop's media controls) show it. Every
// setter emits its change signal once, and only when the value changed.

#include "playback/media_types.h"

#include <QObject>
#include <QString>

#include <optional>

// Whether the open file plays. Closed: no file is open.
enum class PlayStatus { Closed, Playing, Paused, Stopped };

// The four speeds, in the order of the speed menu.
enum class PlaySpeed { Double, OneAndHalf, Normal, Half };

// The four play modes, in the order of the mode menu: 通常, 連続, ループ, ランダム.
enum class PlayMode { Normal, Continuous, Loop, Random };

// A marked section of the seek bar, in seek-bar units; length 0: none.
struct SeekSection
{
    int start = 0;
    int length = 0;
    bool operator==(const SeekSection &o) const = default;
};

// The speed menu's index (0 2.0×, 1 1.5×, 2 1.0×, 3 0.5×), as config.ini keeps it, and back;
// nullopt for an index outside 0..3.
int speedIndex(PlaySpeed speed);
std::optional<PlaySpeed> speedFromIndex(int index);
// The rate the engine plays at.
double speedRate(PlaySpeed speed);
// The play mode's index (0..3), as config.ini keeps it, and back.
int playModeIndex(PlayMode mode);
std::optional<PlayMode> playModeFromIndex(int index);

class PlaybackState : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString file() const { return m_file; }
    MediaEngine engine() const { return m_engine; }
    bool isRealMedia() const { return m_engine == MediaEngine::RealMedia; }
    // Seek-bar units per second of the engine: 1000 for RealMedia, 100 otherwise.
    int unitsPerSecond() const { return isRealMedia() ? 1000 : 100; }
    PlayStatus status() const { return m_status; }
    bool isOpen() const { return m_status != PlayStatus::Closed; }
    // Seconds; 0 until a position or a length is known.
    double position() const { return m_position; }
    double duration() const { return m_duration; }
    // The open's duration code: CMovie's MediaOpen result (hundredths of the length, -1 past
    // 16 bits, 0 failed), or the RealMedia length known at the open, in seconds.
    double durationCode() const { return m_durationCode; }
    PlaySpeed speed() const { return m_speed; }
    PlayMode playMode() const { return m_playMode; }
    // The volume bar's setting, 0..100.
    int volume() const { return m_volume; }
    // The last mute is in effect (the bars stand at 0 and an unmute gives the setting back).
    bool muted() const { return m_muted; }
    SeekSection section() const { return m_section; }
    // The step (seconds, ± for the direction) of the seek a held key makes; nullopt: none.
    std::optional<double> keySeek() const { return m_keySeek; }
    bool keySeeking() const { return m_keySeek.has_value(); }

    void setFile(const QString &path, MediaEngine engine);
    void setStatus(PlayStatus status);
    void setPosition(double seconds);
    void setDuration(double seconds);
    void setDurationCode(double code);
    void setSpeed(PlaySpeed speed);
    void setPlayMode(PlayMode mode);
    void setVolume(int volume);
    void setMuted(bool muted);
    void setSection(SeekSection section);
    void clearSection() { setSection({}); }
    void setKeySeek(std::optional<double> step);
    // A seek the user made (seek bar, keys, scenes, a section's repeat, the desktop's media
    // controls): the position changes and `seeked` follows, whatever the position was.
    void seekedTo(double seconds);

Q_SIGNALS:
    void fileChanged(const QString &path);
    void engineChanged(MediaEngine engine);
    void statusChanged(PlayStatus status);
    void positionChanged(double seconds);
    void durationChanged(double seconds);
    void durationCodeChanged(double code);
    void speedChanged(PlaySpeed speed);
    void playModeChanged(PlayMode mode);
    void volumeChanged(int volume);
    void mutedChanged(bool muted);
    void sectionChanged(SeekSection section);
    void keySeekChanged();
    void seeked(double seconds);

private:
    QString m_file;
    MediaEngine m_engine = MediaEngine::Ordinary;
    PlayStatus m_status = PlayStatus::Closed;
    double m_position = 0;
    double m_duration = 0;
    double m_durationCode = 0;
    PlaySpeed m_speed = PlaySpeed::Normal;
    PlayMode m_playMode = PlayMode::Normal;
    int m_volume = 0;
    bool m_muted = false;
    SeekSection m_section;
    std::optional<double> m_keySeek;
};
