#include "fakes/fake_backend.h"

#include <algorithm>

namespace fakes {

void FakeBackend::startLoad(const QString &p, bool startPaused)
{
    loads.push_back(p);
    path = p;
    pos = 0;
    paused = startPaused;
    if (p.contains(QStringLiteral("broken")) || p.isEmpty()) {
        loadedFlag = false;
        Q_EMIT loadFailed();
        return;
    }
    current = media.value(p, FakeMedia{});
    loadedFlag = true;
    Q_EMIT loaded();
}

void FakeBackend::unload()
{
    ++unloads;
    loadedFlag = false;
    path.clear();
    if (surfaceWidget)
        surfaceWidget->hide();
}

std::optional<double> FakeBackend::position() const
{
    if (!loadedFlag)
        return std::nullopt;
    return pos;
}

std::optional<double> FakeBackend::duration() const
{
    if (!loadedFlag)
        return std::nullopt;
    return current.duration;
}

void FakeBackend::seek(double s)
{
    if (!loadedFlag)
        return;
    ++seeks;
    pos = std::clamp(s, 0.0, current.duration);
}

std::optional<double> FakeBackend::volumePercent() const
{
    if (!loadedFlag || !current.audio)
        return std::nullopt;
    return volume;
}

std::optional<QSize> FakeBackend::videoSize() const
{
    if (!loadedFlag || !current.video)
        return std::nullopt;
    return current.size;
}

QWidget *FakeBackend::surface(QWidget *parent)
{
    if (!surfaceWidget)
    {
        surfaceWidget = new QWidget(parent);
        // As the real surface: the mouse goes through the picture to the video area.
        surfaceWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    else if (surfaceWidget->parentWidget() != parent)
        surfaceWidget->setParent(parent);
    return surfaceWidget;
}

MediaBackendFactory FakeEngines::movieFactory()
{
    return [this] {
        auto b = std::make_unique<FakeBackend>();
        b->media = media;
        movies.push_back(b.get());
        return std::unique_ptr<MediaBackend>(std::move(b));
    };
}

MediaBackendFactory FakeEngines::realFactory()
{
    return [this] {
        auto b = std::make_unique<FakeBackend>();
        b->media = media;
        reals.push_back(b.get());
        return std::unique_ptr<MediaBackend>(std::move(b));
    };
}

} // namespace fakes
