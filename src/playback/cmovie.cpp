#include "playback/cmovie.h"

#include <QCoreApplication>
#include <QWidget>

#include <cmath>

CMovie::CMovie(MediaBackendFactory factory) : m_factory(std::move(factory)) {}

CMovie::~CMovie()
{
    MediaClose();
}

MediaBackend *CMovie::backend()
{
    if (!m_backend && m_factory)
        m_backend = m_factory();
    return m_backend.get();
}

namespace {

// "?:\Track??.cda": an audio-CD track as the shell names it.
bool isCdTrackPath(const QString &p)
{
    static const QString pattern = QStringLiteral("?:\\Track??.cda");
    if (p.size() != pattern.size())
        return false;
    for (qsizetype i = 0; i < p.size(); ++i)
        if (pattern.at(i) != u'?' && pattern.at(i) != p.at(i))
            return false;
    return true;
}

} // namespace

bool CMovie::BuildGraph(const QString &file, const QString &filterName)
{
    QString filter = filterName;
    if (isCdTrackPath(file) && filter.isEmpty())
        filter = FilterNameCD;
    // No filters are registered with this engine, so a named filter is never found and
    // the graph renders the file by itself.
    MediaBackend *b = backend();
    if (!b)
        return false;
    auto graph = std::make_unique<FilterGraph>(*b);
    if (!graph->renderFile(file, kOpenTimeoutMs))
        return false;
    m_graph = std::move(graph);
    return true;
}

int CMovie::MediaOpen(const QString &NewFileName, const QString &NewFilterName, QWidget *screen,
                      double pos)
{
    MediaClose();
    // The video window is made in `screen` before the file loads: the engine's video
    // output needs its render context from the start, and an OpenGL one needs the window.
    if (screen)
        if (MediaBackend *b = backend())
            b->surface(screen);
    if (!BuildGraph(NewFileName, NewFilterName))
        return 0;
    FilterGraph *g = m_graph.get();
    mobjManager = mobjPosition = mobjAudio = mobjVideo = mobjWindow = g;
    fileName = NewFileName;

    if (const auto v = mobjAudio->volume()) {
        volume = *v;
        mobjAudio->setVolume(volume);
    }

    // The video window: a child of the video area covering it; the fitting that the
    // caller runs next gives it its final size. Input over it reaches the video area.
    if (screen && mobjWindow->setOwner(screen)) {
        mobjWindow->setWindowPosition(QRect(0, 0, screen->width(), screen->height()));
        mobjWindow->setVisible(true);
    }

    int result = -1;
    // A file loads at its start: a seek to 0 would only flush the decoder and hold back the
    // first frame.
    if (pos != 0)
        mobjPosition->setCurrentPosition(pos);
    MediaPlay(1);
    if (mobjPosition) {
        if (const auto d = mobjPosition->duration()) {
            const int code = durationCode(*d);
            if (code != -1)
                result = code;
        }
    }
    return result;
}

void CMovie::MediaPlay(int State)
{
    if (!mobjManager)
        return;
    mblnInCommand = true;
    switch (State) {
    case 1:
        mobjManager->run();
        QCoreApplication::processEvents();
        PlayState = 1;
        break;
    case 2:
        mobjManager->pause();
        QCoreApplication::processEvents();
        PlayState = 2;
        break;
    case 3:
        mobjManager->stop();
        if (mobjPosition)
            mobjPosition->setCurrentPosition(0);
        QCoreApplication::processEvents();
        PlayState = 3;
        break;
    default:
        break;
    }
    mblnInCommand = false;
}

void CMovie::MediaClose()
{
    if (!mobjManager)
        return;
    m_graph->stop();
    m_graph->release();
    mobjManager = mobjPosition = mobjAudio = mobjVideo = mobjWindow = nullptr;
    m_graph.reset();
    fileName.clear();
    mblnInCommand = false;
}

void CMovie::Release()
{
    MediaClose();
    m_backend.reset();
}

void CMovie::MediaClear()
{
    MediaClose();
}

void CMovie::SetRate(float rate)
{
    if (mobjPosition)
        mobjPosition->setRate(rate > 2.0f ? 2.0 : static_cast<double>(rate));
}

void CMovie::SetWindowSize(int w, int h)
{
    SetWindowPosition(0, 0, w, h);
}

void CMovie::SetWindowPosition(int left, int top, int w, int h)
{
    width = w;
    height = h;
    if (mobjWindow)
        mobjWindow->setWindowPosition(QRect(left, top, w, h));
}

void CMovie::fullscreen()
{
    if (mobjWindow && !mobjWindow->fullScreenMode())
        mobjWindow->setFullScreenMode(true);
    DisplaySize = 1;
}

void CMovie::normalscreen()
{
    if (mobjWindow)
        mobjWindow->setFullScreenMode(false);
    DisplaySize = 0;
}

QString CMovie::secondsToString(int seconds)
{
    return timeText(seconds);
}
