#include "playback/now_playing.h"

#include "platform/wave_out.h"
#include "playback/cmovie.h"
#include "playback/media_types.h"
#include "playback/playback_state.h"
#include "playback/real_control.h"
#include "widgets/seek_math.h"

#include <QCoreApplication>

#include <cmath>

NowPlaying::NowPlaying(CMovie &movie, RealControl &rmovie, PlaybackState &state,
                       std::shared_ptr<platform::WaveOutDevice> waveOut)
    : m_movie(movie), m_rmovie(rmovie), m_state(state), m_waveOut(std::move(waveOut))
{
}

void NowPlaying::syncStatus()
{
    const QString file = source();
    m_state.setFile(file, m_isRealMedia ? MediaEngine::RealMedia : MediaEngine::Ordinary);
    if (file.isEmpty()) {
        m_state.setStatus(PlayStatus::Closed);
        return;
    }
    // Named but never opened (a paused file restored at start-up) counts as closed.
    m_state.setStatus(status());
}

void NowPlaying::close()
{
    m_movie.MediaClose();
    syncStatus();
}

void NowPlaying::checkRealMedia(const QString &extension)
{
    const MediaType *t = mediaType(extension);
    m_isRealMedia = t && t->engine == MediaEngine::RealMedia;
}

QString NowPlaying::source() const
{
    return m_isRealMedia ? m_rmovie.invoke(RealControl::Source).toString() : m_movie.fileName;
}

bool NowPlaying::isPausedOn(const QString &path) const
{
    if (m_isRealMedia)
        return m_rmovie.invoke(RealControl::PlayStateId).toInt() == RealControl::Paused
               && m_rmovie.invoke(RealControl::Source).toString() == path;
    return m_movie.PlayState == 2 && m_movie.fileName == path;
}

PlayStatus NowPlaying::status() const
{
    // CMovie's PlayState, and the RealMedia control's state, as the window modes go by.
    int state = m_movie.PlayState;
    if (m_isRealMedia) {
        switch (m_rmovie.invoke(RealControl::PlayStateId).toInt()) {
        case RealControl::Playing:
        case RealControl::Loading:
            state = 1;
            break;
        case RealControl::Paused:
            state = 2;
            break;
        default:
            state = 3;
            break;
        }
    }
    switch (state) {
    case 1:
        return PlayStatus::Playing;
    case 2:
        return PlayStatus::Paused;
    case 3:
        return PlayStatus::Stopped;
    default:
        return PlayStatus::Closed;
    }
}

void NowPlaying::resume()
{
    if (m_isRealMedia)
        m_rmovie.invoke(RealControl::Play);
    else
        m_movie.MediaPlay(1);
    syncStatus();
}

double NowPlaying::open(const QString &path, double pos, QWidget *display, int volumeBar)
{
    if (m_isRealMedia) {
        m_rmovie.setGeometry(display->geometry());
        m_rmovie.show();
        m_rmovie.raise();
        m_movie.MediaClear();
        const double code = m_rmovie.invoke(RealControl::Length).toInt() / 1000.0;
        m_movie.PlayState = 1;
        m_rmovie.setProperty(RealControl::Source, path);
        syncStatus();
        return code;
    }
    m_rmovie.invoke(RealControl::Stop);
    m_rmovie.invoke(RealControl::Prepare, true);
    m_rmovie.hide();
    QCoreApplication::processEvents();
    m_rmovie.invoke(RealControl::Prepare, false);
    QCoreApplication::processEvents();
    const int result = m_movie.MediaOpen(path, QString(), display, pos);
    if (m_movie.mobjAudio) {
        m_movie.mobjAudio->setVolume(static_cast<int>(std::lround((volumeBar - 100) * 50.0)));
        if (const auto v = m_movie.mobjAudio->volume())
            m_movie.volume = *v;
    }
    syncStatus();
    return result;
}

std::optional<int> NowPlaying::lengthFromCode(double code) const
{
    if (m_isRealMedia)
        return static_cast<int>(std::lround(code));
    if (code > 0)
        return static_cast<int>(code);
    // Longer than the code can tell: the length comes from the position interface.
    if (m_movie.mobjPosition)
        if (const auto d = m_movie.mobjPosition->duration())
            return static_cast<int>(std::lround(*d * 100.0));
    return std::nullopt;
}

bool NowPlaying::togglePlay(const QString &file)
{
    if (!m_isRealMedia) {
        // A file that is named but has no graph (a paused file restored at start-up) is
        // opened: there is nothing to run on.
        if (m_movie.fileName != file || !m_movie.mobjManager) {
            m_movie.fileName = file;
            return false;
        }
        m_movie.MediaPlay(m_movie.PlayState == 1 ? 2 : 1);
        syncStatus();
        return true;
    }
    const QString current = m_rmovie.invoke(RealControl::Source).toString();
    if (current.compare(file, Qt::CaseInsensitive) == 0
        || current.compare(QStringLiteral("file://") + file, Qt::CaseInsensitive) == 0) {
        if (m_movie.PlayState == 2) {
            m_rmovie.invoke(RealControl::Play);
            m_movie.PlayState = 1;
        } else {
            m_rmovie.invoke(RealControl::Pause);
            m_movie.PlayState = 2;
        }
    } else {
        m_rmovie.setProperty(RealControl::Source, file);
        m_rmovie.invoke(RealControl::Play);
    }
    syncStatus();
    return true;
}

void NowPlaying::stopAll()
{
    m_movie.MediaPlay(3);
    m_rmovie.invoke(RealControl::Stop);
    syncStatus();
}

void NowPlaying::beginTick()
{
    if (!m_isRealMedia)
        m_movie.mblnInCommand = true;
}

void NowPlaying::endTick()
{
    m_movie.mblnInCommand = false;
}

std::optional<int> NowPlaying::tickLength() const
{
    if (!m_isRealMedia)
        return std::nullopt;
    return m_rmovie.invoke(RealControl::Length).toInt();
}

std::optional<double> NowPlaying::position() const
{
    if (m_isRealMedia)
        return m_rmovie.invoke(RealControl::Position).toInt();
    const auto p = m_movie.mobjPosition ? m_movie.mobjPosition->currentPosition() : std::nullopt;
    if (!p)
        return std::nullopt;
    return *p * 100.0;
}

std::optional<double> NowPlaying::enginePosition() const
{
    if (m_isRealMedia)
        return m_rmovie.invoke(RealControl::Position).toInt();
    return m_movie.mobjPosition ? m_movie.mobjPosition->currentPosition() : std::nullopt;
}

bool NowPlaying::beyondLength() const
{
    if (m_isRealMedia)
        return m_rmovie.invoke(RealControl::Position).toInt() > m_rmovie.invoke(RealControl::Length).toInt();
    if (!m_movie.mobjPosition)
        return false;
    const auto p = m_movie.mobjPosition->currentPosition();
    const auto d = m_movie.mobjPosition->duration();
    return p && d && *p > *d;
}

bool NowPlaying::atEnd() const
{
    if (m_isRealMedia) {
        const int p = m_rmovie.invoke(RealControl::Position).toInt();
        const int length = m_rmovie.invoke(RealControl::Length).toInt();
        return p > 0 && p >= length - 500;
    }
    if (!m_movie.mobjPosition)
        return false;
    const auto p = m_movie.mobjPosition->currentPosition();
    const auto d = m_movie.mobjPosition->duration();
    return p && d && *p >= *d;
}

void NowPlaying::seek(int units)
{
    if (m_isRealMedia)
        m_rmovie.invoke(RealControl::Seek, units);
    else if (m_movie.mobjPosition)
        m_movie.mobjPosition->setCurrentPosition(units / 100.0);
    else
        return;
    m_state.seekedTo(double(units) / unitsPerSecond());
}

void NowPlaying::rewindAndPlay()
{
    if (m_isRealMedia) {
        m_rmovie.invoke(RealControl::Seek, 0);
        m_rmovie.invoke(RealControl::Play);
    } else if (m_movie.mobjPosition) {
        m_movie.mobjPosition->setCurrentPosition(0);
        m_movie.MediaPlay(1);
    } else {
        return;
    }
    m_state.seekedTo(0);
    syncStatus();
}

void NowPlaying::stopAtEnd()
{
    if (m_isRealMedia) {
        m_rmovie.invoke(RealControl::Stop);
        m_movie.PlayState = 3;
    } else {
        m_movie.MediaPlay(3);
    }
    syncStatus();
}

std::optional<int> NowPlaying::skip(double step)
{
    if (m_isRealMedia) {
        const int to = static_cast<int>(std::lround(step * 3000 + m_rmovie.invoke(RealControl::Position).toInt()));
        m_rmovie.invoke(RealControl::Seek, to);
        m_state.seekedTo(to / 1000.0);
        return 1000;
    }
    if (!m_movie.mobjPosition)
        return std::nullopt;
    if (const auto p = m_movie.mobjPosition->currentPosition()) {
        m_movie.mobjPosition->setCurrentPosition(*p + step);
        if (const auto now = m_movie.mobjPosition->currentPosition())
            m_state.seekedTo(*now);
    }
    return 100;
}

bool NowPlaying::inCommand() const
{
    return m_movie.mblnInCommand;
}

void NowPlaying::setInCommand(bool on)
{
    m_movie.mblnInCommand = on;
}

std::optional<int> NowPlaying::pointerUnits(double fraction) const
{
    if (m_isRealMedia)
        return seek::realPointer(fraction, m_rmovie.invoke(RealControl::Length).toInt());
    if (!m_movie.mobjPosition)
        return std::nullopt;
    const auto d = m_movie.mobjPosition->duration();
    if (!d)
        return std::nullopt;
    return seek::moviePointer(fraction, *d);
}

std::optional<double> NowPlaying::lengthUnits() const
{
    if (m_isRealMedia)
        return m_rmovie.invoke(RealControl::Length).toInt();
    if (!m_movie.mobjPosition)
        return std::nullopt;
    const auto d = m_movie.mobjPosition->duration();
    if (!d)
        return std::nullopt;
    return *d * 100.0;
}

bool NowPlaying::pauseForDrag()
{
    // Only a playing file: resuming a paused or ended one at the release would make the
    // next press of play seem dead.
    if (m_isRealMedia || m_movie.PlayState != 1 || !m_movie.mobjManager)
        return false;
    m_movie.mobjManager->pause();
    return true;
}

void NowPlaying::resumeAfterDrag()
{
    if (m_movie.mobjManager)
        m_movie.mobjManager->run();
}

void NowPlaying::setVolume(int setting, bool evenInCommand)
{
    if (m_isRealMedia) {
        applyRealVolume(setting);
        return;
    }
    if (m_movie.mblnInCommand && !evenInCommand)
        return;
    if (!m_movie.mobjAudio)
        return;
    m_movie.mobjAudio->setVolume(seek::graphVolume(setting));
    if (const auto v = m_movie.mobjAudio->volume())
        m_movie.volume = *v;
}

void NowPlaying::mute()
{
    if (m_isRealMedia) {
        applyRealVolume(0);
        return;
    }
    if (!m_movie.mobjAudio)
        return;
    m_movie.mobjAudio->setVolume(-10000);
    if (const auto v = m_movie.mobjAudio->volume())
        m_movie.volume = *v;
}

void NowPlaying::readStartWaveVolume()
{
    const std::optional<std::uint32_t> wave = m_waveOut ? m_waveOut->volume() : std::nullopt;
    m_waveRead = wave.has_value();
    m_startWaveVolume = static_cast<int>(wave.value_or(0) & 0xFFFF) - 32767;
}

void NowPlaying::applyRealVolume(int setting)
{
    if (!m_waveOut || !m_waveRead)
        return;
    m_waveOut->setVolume(seek::realWaveLevel(setting, m_startWaveVolume));
    m_waveChanged = true;
}

void NowPlaying::restoreWaveVolume()
{
    // Both channels get back the left-channel level found at start-up.
    if (m_waveOut && m_waveRead && m_waveChanged)
        m_waveOut->setVolume(bothChannels(m_startWaveVolume + 32767));
}
