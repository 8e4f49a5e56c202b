#include "app/media_controls.h"

#include "app/mpris_rules.h"
#include "platform/path.h"
#include "playback/media_types.h"
#include "playback/now_playing.h"
#include "playback/playback_state.h"
#include "playback/playlist_source.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "window/control_bar.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMetaObject>
#include <QUrl>
#include <QWidget>

#include <cmath>

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// org.mpris.MediaPlayer2: who the player is.
class RootAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ canQuit)
    Q_PROPERTY(bool CanRaise READ canRaise)
    Q_PROPERTY(bool HasTrackList READ hasTrackList)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    explicit RootAdaptor(MediaControls *controls) : QDBusAbstractAdaptor(controls), m_c(controls) {}
    bool canQuit() const { return true; }
    bool canRaise() const { return true; }
    bool hasTrackList() const { return false; }
    QString identity() const { return QStringLiteral("Plovana"); }
    QString desktopEntry() const { return QStringLiteral("plovana"); }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const { return m_c->supportedMimeTypes(); }
public Q_SLOTS:
    void Raise() { m_c->Raise(); }
    void Quit() { m_c->Quit(); }

private:
    MediaControls *m_c;
};

// org.mpris.MediaPlayer2.Player: what plays and the commands on it.
class PlayerAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ minimumRate)
    Q_PROPERTY(double MaximumRate READ maximumRate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoNext)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPlay)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
public:
    explicit PlayerAdaptor(MediaControls *controls) : QDBusAbstractAdaptor(controls), m_c(controls)
    {
        connect(controls, &MediaControls::Seeked, this, &PlayerAdaptor::Seeked);
    }
    QString playbackStatus() const { return m_c->playbackStatus(); }
    QString loopStatus() const { return m_c->loopStatus(); }
    void setLoopStatus(const QString &s) { m_c->setLoopStatus(s); }
    double rate() const { return m_c->rate(); }
    void setRate(double r) { m_c->setRate(r); }
    bool shuffle() const { return m_c->shuffle(); }
    void setShuffle(bool on) { m_c->setShuffle(on); }
    QVariantMap metadata() const { return m_c->metadata(); }
    double volume() const { return m_c->volume(); }
    void setVolume(double v) { m_c->setVolume(v); }
    qlonglong position() const { return m_c->position(); }
    double minimumRate() const { return 0.5; }
    double maximumRate() const { return 2.0; }
    bool canGoNext() const { return m_c->canGoNext(); }
    bool canPlay() const { return m_c->canPlay(); }
    bool canSeek() const { return m_c->canSeek(); }
    bool canControl() const { return true; }
public Q_SLOTS:
    void Next() { m_c->Next(); }
    void Previous() { m_c->Previous(); }
    void Pause() { m_c->Pause(); }
    void PlayPause() { m_c->PlayPause(); }
    void Stop() { m_c->Stop(); }
    void Play() { m_c->Play(); }
    void Seek(qlonglong offset) { m_c->Seek(offset); }
    void SetPosition(const QDBusObjectPath &track, qlonglong position) { m_c->SetPosition(track, position); }
    void OpenUri(const QString &) {}
Q_SIGNALS:
    void Seeked(qlonglong Position);

private:
    MediaControls *m_c;
};

qlonglong toUs(double seconds) { return static_cast<qlonglong>(std::llround(seconds * 1e6)); }

} // namespace

MediaControls::MediaControls(const Rooms &rooms) : QObject(&rooms.window), m_rooms(rooms)
{
    new RootAdaptor(this);
    new PlayerAdaptor(this);
    PlaybackState &s = rooms.state;
    connect(&s, &PlaybackState::seeked, this, [this](double seconds) { Q_EMIT Seeked(toUs(seconds)); });
    connect(&s, &PlaybackState::fileChanged, this, &MediaControls::changesMayHaveHappened);
    connect(&s, &PlaybackState::statusChanged, this, &MediaControls::changesMayHaveHappened);
    connect(&s, &PlaybackState::durationChanged, this, &MediaControls::changesMayHaveHappened);
    connect(&s, &PlaybackState::speedChanged, this, &MediaControls::changesMayHaveHappened);
    connect(&s, &PlaybackState::playModeChanged, this, &MediaControls::changesMayHaveHappened);
    connect(&s, &PlaybackState::volumeChanged, this, &MediaControls::changesMayHaveHappened);
}

void MediaControls::fileOpened()
{
    ++m_track;
    changesMayHaveHappened();
}

MediaControls::~MediaControls()
{
    if (m_serviceName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    bus.unregisterService(m_serviceName);
}

bool MediaControls::registerOnBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.plovana");
    // Another copy (on another state folder) holds the plain name: this one takes its own.
    const QString instance = name + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString &candidate : {name, instance}) {
        if (bus.registerService(candidate)) {
            m_serviceName = candidate;
            break;
        }
    }
    if (m_serviceName.isEmpty()) {
        bus.unregisterObject(kObjectPath);
        return false;
    }
    publishChanges();
    return true;
}

// ---- The root interface

void MediaControls::Raise()
{
    if (m_rooms.raise)
        m_rooms.raise();
}

void MediaControls::Quit()
{
    // Closing the window runs shutdown; queued, so the call's reply goes out first.
    QMetaObject::invokeMethod(&m_rooms.window, [w = &m_rooms.window] { w->close(); }, Qt::QueuedConnection);
}

QStringList MediaControls::supportedMimeTypes() const
{
    return mediaMimeTypes();
}

// ---- The player interface

QString MediaControls::playbackStatus() const
{
    switch (m_rooms.state.status()) {
    case PlayStatus::Playing:
        return QStringLiteral("Playing");
    case PlayStatus::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

QString MediaControls::loopStatus() const { return mpris::loopStatusOf(m_rooms.state.playMode()); }

void MediaControls::setLoopStatus(const QString &status)
{
    if (const auto mode = mpris::modeForLoopStatus(status, m_rooms.state.playMode()))
        m_rooms.commands.trigger(command::mode(playModeIndex(*mode)));
}

bool MediaControls::shuffle() const { return mpris::shuffleOf(m_rooms.state.playMode()); }

void MediaControls::setShuffle(bool on)
{
    m_rooms.commands.trigger(command::mode(playModeIndex(mpris::modeForShuffle(on, m_rooms.state.playMode()))));
}

double MediaControls::rate() const { return speedRate(m_rooms.state.speed()); }

void MediaControls::setRate(double rate)
{
    if (rate == 0) {
        Pause();
        return;
    }
    if (const auto speed = mpris::speedForRate(rate))
        m_rooms.commands.trigger(command::speed(speedIndex(*speed)));
}

double MediaControls::volume() const { return m_rooms.state.volume() / 100.0; }

void MediaControls::setVolume(double volume)
{
    m_rooms.controls.changeVolume(mpris::volumeSetting(volume));
}

qlonglong MediaControls::lengthUs() const
{
    return m_rooms.state.isOpen() ? toUs(m_rooms.state.duration()) : 0;
}

QDBusObjectPath MediaControls::trackId() const
{
    if (!m_rooms.state.isOpen())
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/plovana/track/%1").arg(m_track));
}

QVariantMap MediaControls::metadata() const
{
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId()));
    if (!m_rooms.state.isOpen())
        return m;
    const QString file = m_rooms.state.file();
    m.insert(QStringLiteral("xesam:title"), path::getfiletitle(file));
    m.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(file).toString());
    if (const qlonglong length = lengthUs(); length > 0)
        m.insert(QStringLiteral("mpris:length"), length);
    if (m_rooms.thumbnailOf)
        if (const QString art = m_rooms.thumbnailOf(file); !art.isEmpty())
            m.insert(QStringLiteral("mpris:artUrl"), QUrl::fromLocalFile(art).toString());
    return m;
}

qlonglong MediaControls::position() const
{
    if (!m_rooms.state.isOpen())
        return 0;
    const auto units = m_rooms.nowPlaying.position();
    return units ? toUs(*units / m_rooms.nowPlaying.unitsPerSecond()) : toUs(m_rooms.state.position());
}

bool MediaControls::canGoNext() const
{
    const ListPage page = m_rooms.playlist.shownPage();
    return page != ListPage::None && page != ListPage::Options && m_rooms.playlist.rowCount() > 0;
}

bool MediaControls::canPlay() const
{
    return m_rooms.state.isOpen() || (canGoNext() && m_rooms.playlist.selectedRow() >= 0);
}

bool MediaControls::canSeek() const { return m_rooms.state.isOpen(); }

void MediaControls::Next() { m_rooms.commands.trigger(command::next); }
void MediaControls::Previous() { m_rooms.commands.trigger(command::pre); }
void MediaControls::Stop() { m_rooms.commands.trigger(command::stop); }
void MediaControls::PlayPause() { m_rooms.commands.trigger(command::play); }

void MediaControls::Play()
{
    if (m_rooms.state.status() != PlayStatus::Playing)
        m_rooms.commands.trigger(command::play);
}

void MediaControls::Pause()
{
    if (m_rooms.state.status() == PlayStatus::Playing)
        m_rooms.commands.trigger(command::play);
}

void MediaControls::seekToUs(qlonglong positionUs)
{
    const int units = static_cast<int>(std::llround(positionUs / 1e6 * m_rooms.nowPlaying.unitsPerSecond()));
    if (m_rooms.nowPlaying.inCommand())
        return; // an engine command or a tick runs: it keeps the engine
    m_rooms.nowPlaying.setInCommand(true);
    m_rooms.nowPlaying.seek(units);
    m_rooms.nowPlaying.setInCommand(false);
}

void MediaControls::Seek(qlonglong offsetUs)
{
    if (!canSeek())
        return;
    const mpris::SeekTarget t = mpris::seekBy(position(), offsetUs, lengthUs());
    if (t.next)
        Next();
    else
        seekToUs(t.positionUs);
}

void MediaControls::SetPosition(const QDBusObjectPath &track, qlonglong positionUs)
{
    if (!canSeek() || track != trackId() || positionUs < 0 || positionUs > lengthUs())
        return;
    seekToUs(positionUs);
}

// ---- PropertiesChanged

void MediaControls::changesMayHaveHappened()
{
    if (m_serviceName.isEmpty() || m_publishPending)
        return;
    m_publishPending = true;
    QMetaObject::invokeMethod(this, &MediaControls::publishChanges, Qt::QueuedConnection);
}

void MediaControls::publishChanges()
{
    m_publishPending = false;
    if (m_serviceName.isEmpty())
        return;
    QVariantMap now;
    now.insert(QStringLiteral("PlaybackStatus"), playbackStatus());
    now.insert(QStringLiteral("LoopStatus"), loopStatus());
    now.insert(QStringLiteral("Shuffle"), shuffle());
    now.insert(QStringLiteral("Rate"), rate());
    now.insert(QStringLiteral("Volume"), volume());
    now.insert(QStringLiteral("Metadata"), metadata());
    now.insert(QStringLiteral("CanGoNext"), canGoNext());
    now.insert(QStringLiteral("CanGoPrevious"), canGoNext());
    now.insert(QStringLiteral("CanPlay"), canPlay());
    now.insert(QStringLiteral("CanPause"), canPlay());
    now.insert(QStringLiteral("CanSeek"), canSeek());
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!m_published.contains(it.key()) || m_published.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    const bool first = m_published.isEmpty();
    m_published = now;
    if (changed.isEmpty() || first)
        return; // the first values are read by the clients themselves
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "media_controls.moc"
