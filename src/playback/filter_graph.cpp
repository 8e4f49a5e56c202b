#include "playback/filter_graph.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

bool FilterGraph::renderFile(const QString &path, int timeoutMs)
{
    m_backend.startLoad(path, true);
    if (m_backend.waitLoaded(timeoutMs))
        return true;
    m_backend.unload();
    return false;
}

bool FilterGraph::run()
{
    if (!m_backend.isLoaded())
        return false;
    m_backend.setPaused(false);
    return true;
}

bool FilterGraph::pause()
{
    if (!m_backend.isLoaded())
        return false;
    m_backend.setPaused(true);
    return true;
}

bool FilterGraph::stop()
{
    // A stopped graph holds its position and shows the frame there, as a paused one does.
    return pause();
}

std::optional<double> FilterGraph::duration() const { return m_backend.duration(); }
std::optional<double> FilterGraph::currentPosition() const { return m_backend.position(); }

bool FilterGraph::setCurrentPosition(double seconds)
{
    if (!m_backend.isLoaded())
        return false;
    m_backend.seek(seconds);
    return true;
}

bool FilterGraph::setRate(double rate)
{
    if (!m_backend.isLoaded() || !(rate > 0.0))
        return false;
    m_backend.setRate(rate);
    return true;
}

std::optional<double> FilterGraph::rate() const { return m_backend.rate(); }

std::optional<int> FilterGraph::volume() const
{
    const auto p = m_backend.volumePercent();
    if (!p)
        return std::nullopt;
    return percentToCentibels(*p);
}

bool FilterGraph::setVolume(int centibels)
{
    if (!m_backend.volumePercent())
        return false; // no audio stream
    m_backend.setVolumePercent(centibelsToPercent(centibels));
    return true;
}

std::optional<QSize> FilterGraph::sourceSize() const
{
    if (!m_backend.hasVideo())
        return std::nullopt;
    return m_backend.videoSize();
}

bool FilterGraph::setOwner(QWidget *owner)
{
    if (!m_backend.hasVideo())
        return false; // an audio-only file has no video window
    m_window = m_backend.surface(owner);
    return m_window != nullptr;
}

bool FilterGraph::setWindowPosition(const QRect &pixels)
{
    if (!m_window)
        return false;
    m_window->setGeometry(pixels);
    return true;
}

bool FilterGraph::setVisible(bool visible)
{
    if (!m_window)
        return false;
    m_window->setVisible(visible);
    if (visible)
        m_window->raise();
    return true;
}

bool FilterGraph::setFullScreenMode(bool on)
{
    if (!m_window)
        return false;
    m_fullScreen = on;
    return true;
}

void FilterGraph::release()
{
    if (m_window)
        m_window->hide();
    m_window = nullptr;
    m_backend.unload();
}
