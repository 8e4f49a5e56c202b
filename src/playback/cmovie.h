#pragma once
// CMovie: the engine for every file that is not RealMedia. One instance wraps the graph of
// one open file at a time, shows its video inside the main window's video area, plays,
// pauses and stops it, sets the rate and formats times for the labels.

#include "playback/filter_graph.h"

#include <QString>
#include <memory>

class QWidget;

class CMovie
{
public:
    explicit CMovie(MediaBackendFactory factory);
    ~CMovie();
    CMovie(const CMovie &) = delete;
    CMovie &operator=(const CMovie &) = delete;

    // The interfaces of the open graph; all empty while nothing is open.
    FilterGraph *mobjManager = nullptr;
    FilterGraph *mobjPosition = nullptr;
    FilterGraph *mobjAudio = nullptr;
    FilterGraph *mobjVideo = nullptr;
    FilterGraph *mobjWindow = nullptr;

    bool mblnInCommand = false; // an engine command or a position-timer tick is running
    bool mblnInResize = false;
    QString fileName;           // the open file; empty when closed
    int okini_index = 0;        // favourites entry being played
    int volume = 0;             // last volume, hundredths of a decibel (0 full, -10000 silent)
    int height = 0;             // last size given to SetWindowSize
    int width = 0;
    QString FilterNameCD;       // filter for audio-CD track paths; empty unless a client sets it
    int PlayState = 0;          // 1 playing, 2 paused, 3 stopped
    int DisplaySize = 0;        // 1 while the main window is in full screen

    // How long MediaOpen waits for a file to load.
    static constexpr int kOpenTimeoutMs = 5000;

    // Closes what is open, renders the file, shows its video in `screen`, seeks to `pos`
    // seconds and plays. 0 when the file cannot be rendered; otherwise floor(duration ×
    // 100) when that fits 16 bits (files up to 327.67 s), else -1.
    int MediaOpen(const QString &NewFileName, const QString &NewFilterName, QWidget *screen,
                  double pos);
    // 1 run, 2 pause, 3 stop and rewind to 0; anything else, or nothing open, does nothing.
    void MediaPlay(int State);
    void MediaClose();
    void MediaClear();
    // The rate, at most 2.0.
    void SetRate(float rate);
    // Places the video window at (0, 0) with this size in pixels.
    void SetWindowSize(int w, int h);
    // Places the video window at this rectangle inside its owner, in pixels.
    void SetWindowPosition(int left, int top, int w, int h);
    void fullscreen();
    void normalscreen();

    // "m:ss" under an hour, "h:mm:ss" from an hour, "0:00" for negative values.
    static QString secondsToString(int seconds);

    // Closes the graph and ends the engine behind it; a later open starts a new engine.
    void Release();

    // The engine behind the graph, created on first use.
    MediaBackend *backend();

private:
    bool BuildGraph(const QString &file, const QString &filterName);

    MediaBackendFactory m_factory;
    std::unique_ptr<MediaBackend> m_backend;
    std::unique_ptr<FilterGraph> m_graph;
};

