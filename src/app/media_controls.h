#pragma once
// The desktop's media controls: Plovana on the session bus as an MPRIS2 player
// (org.mpris.MediaPlayer2.plovana, object /org/mpris/MediaPlayer2). Media keys, the panel's
// media widget, a phone's remote and playerctl play, pause, skip and seek through the same
// commands as the menus, and see what plays through the playback state's change signals.
// With no session bus nothing is registered and nothing waits.

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class Commands;
class ControlBar;
class NowPlaying;
class PlaybackState;
class PlaylistSource;
class QWidget;

class MediaControls : public QObject
{
    Q_OBJECT
public:
    struct Rooms
    {
        QWidget &window;
        Commands &commands;
        PlaybackState &state;
        NowPlaying &nowPlaying;
        PlaylistSource &playlist;
        ControlBar &controls;
        // Shows and activates the window, also when it is hidden to the tray or minimised.
        std::function<void()> raise;
        // The thumbnail bitmap of a media file, "" when it has none.
        std::function<QString(const QString &)> thumbnailOf;
    };
    explicit MediaControls(const Rooms &rooms);
    ~MediaControls() override;

    // Registers on the session bus: the plain name, or with ".instance<pid>" when another
    // copy holds it. False when there is no bus.
    bool registerOnBus();
    // The bus name held; "" while unregistered.
    QString serviceName() const { return m_serviceName; }
    // A file was opened: it is a new track.
    void fileOpened();
    // Something the properties show may have changed (the rows of the page shown, their
    // selection): PropertiesChanged follows once the event is handled, for what changed.
    void changesMayHaveHappened();

    // ---- org.mpris.MediaPlayer2
    void Raise();
    void Quit();
    QStringList supportedMimeTypes() const;

    // ---- org.mpris.MediaPlayer2.Player
    QString playbackStatus() const;
    QString loopStatus() const;
    void setLoopStatus(const QString &status);
    bool shuffle() const;
    void setShuffle(bool on);
    double rate() const;
    void setRate(double rate);
    double volume() const;
    void setVolume(double volume);
    QVariantMap metadata() const;
    qlonglong position() const;
    bool canGoNext() const;
    bool canPlay() const;
    bool canSeek() const;
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offsetUs);
    void SetPosition(const QDBusObjectPath &track, qlonglong positionUs);

Q_SIGNALS:
    // A seek the user made, in microseconds.
    void Seeked(qlonglong positionUs);

private:
    // The open file's length in microseconds; 0 when it is not known.
    qlonglong lengthUs() const;
    QDBusObjectPath trackId() const;
    void seekToUs(qlonglong positionUs);
    // Sends PropertiesChanged for what changed since the last time (a burst of changes is
    // one signal).
    void publishChanges();

    Rooms m_rooms;
    QString m_serviceName;
    quint64 m_track = 0; // raised by every open
    bool m_publishPending = false;
    QVariantMap m_published; // the player interface's properties as last sent
};
