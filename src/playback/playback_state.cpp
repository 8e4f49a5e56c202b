#include "playback/playback_state.h"

int speedIndex(PlaySpeed speed) { return static_cast<int>(speed); }

std::optional<PlaySpeed> speedFromIndex(int index)
{
    if (index < 0 || index > 3)
        return std::nullopt;
    return static_cast<PlaySpeed>(index);
}

double speedRate(PlaySpeed speed)
{
    static const double rates[] = {2.0, 1.5, 1.0, 0.5};
    return rates[speedIndex(speed)];
}

int playModeIndex(PlayMode mode) { return static_cast<int>(mode); }

std::optional<PlayMode> playModeFromIndex(int index)
{
    if (index < 0 || index > 3)
        return std::nullopt;
    return static_cast<PlayMode>(index);
}

namespace {

// Sets a field and reports whether it changed.
template <typename T> bool change(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

void PlaybackState::setFile(const QString &path, MediaEngine engine)
{
    const bool engineChanged_ = change(m_engine, engine);
    if (change(m_file, path))
        Q_EMIT fileChanged(m_file);
    if (engineChanged_)
        Q_EMIT engineChanged(m_engine);
}

void PlaybackState::setStatus(PlayStatus status)
{
    if (change(m_status, status))
        Q_EMIT statusChanged(m_status);
}

void PlaybackState::setPosition(double seconds)
{
    if (change(m_position, seconds))
        Q_EMIT positionChanged(m_position);
}

void PlaybackState::setDuration(double seconds)
{
    if (change(m_duration, seconds))
        Q_EMIT durationChanged(m_duration);
}

void PlaybackState::setDurationCode(double code)
{
    if (change(m_durationCode, code))
        Q_EMIT durationCodeChanged(m_durationCode);
}

void PlaybackState::setSpeed(PlaySpeed speed)
{
    if (change(m_speed, speed))
        Q_EMIT speedChanged(m_speed);
}

void PlaybackState::setPlayMode(PlayMode mode)
{
    if (change(m_playMode, mode))
        Q_EMIT playModeChanged(m_playMode);
}

void PlaybackState::setVolume(int volume)
{
    if (change(m_volume, volume))
        Q_EMIT volumeChanged(m_volume);
}

void PlaybackState::setMuted(bool muted)
{
    if (change(m_muted, muted))
        Q_EMIT mutedChanged(m_muted);
}

void PlaybackState::setSection(SeekSection section)
{
    if (change(m_section, section))
        Q_EMIT sectionChanged(m_section);
}

void PlaybackState::setKeySeek(std::optional<double> step)
{
    if (step && *step == 0)
        step.reset(); // a step of nothing is no seek
    if (change(m_keySeek, step))
        Q_EMIT keySeekChanged();
}

void PlaybackState::seekedTo(double seconds)
{
    setPosition(seconds);
    Q_EMIT seeked(m_position);
}
