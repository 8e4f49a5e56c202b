#pragma once
// The graph of one open file, with the interfaces the engine class reaches it through:
// control (run, pause, stop), position (seconds), audio (hundredths of a decibel), video
// (native size) and the video window (owner, position, visibility). Every call can fail;
// reads then give nullopt and writes false, as calls on a broken graph fail.

#include "playback/engine_units.h"
#include "playback/media_backend.h"

#include <QRect>

class FilterGraph
{
public:
    explicit FilterGraph(MediaBackend &backend) : m_backend(backend) {}

    // Renders the file: loads it paused and waits (bounded) until it is ready.
    bool renderFile(const QString &path, int timeoutMs);

    // IMediaControl
    bool run();
    bool pause();
    bool stop();

    // IMediaPosition
    std::optional<double> duration() const;
    std::optional<double> currentPosition() const;
    bool setCurrentPosition(double seconds);
    bool setRate(double rate);
    std::optional<double> rate() const;

    // IBasicAudio: 0 is full volume, -10000 silence.
    std::optional<int> volume() const;
    bool setVolume(int centibels);

    // IBasicVideo
    std::optional<QSize> sourceSize() const;

    // IVideoWindow
    bool setOwner(QWidget *owner);
    bool setWindowPosition(const QRect &pixels);
    bool setVisible(bool visible);
    QWidget *window() const { return m_window; }
    bool fullScreenMode() const { return m_fullScreen; }
    bool setFullScreenMode(bool on);

    // Releases the graph: stops and unloads the file, hides the video window.
    void release();

    MediaBackend &backend() { return m_backend; }

private:
    MediaBackend &m_backend;
    QWidget *m_window = nullptr;
    bool m_fullScreen = false;
};

