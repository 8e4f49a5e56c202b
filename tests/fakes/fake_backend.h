#pragma once
// An engine double for window tests: files "load" at once (or fail, by name), and the
// test moves the position by hand.

#include "playback/media_backend.h"

#include <QMap>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <vector>

namespace fakes {

struct FakeMedia
{
    double duration = 5.0;
    bool video = true;
    bool audio = true;
    QSize size{176, 144};
};

class FakeBackend final : public MediaBackend
{
    Q_OBJECT
public:
    // What each path plays; a path not listed plays a 5-second clip unless its name
    // contains "broken", which fails to load.
    QMap<QString, FakeMedia> media;
    std::vector<QString> loads;  // every path asked to load, in order
    int unloads = 0;
    int seeks = 0;
    bool loadedFlag = false;
    bool loadingFlag = false;
    bool paused = true;
    QString path;
    double pos = 0;
    std::optional<double> lastRate;
    double volume = 100;
    FakeMedia current;
    QWidget *surfaceWidget = nullptr;

    void startLoad(const QString &p, bool startPaused) override;
    bool waitLoaded(int) override { return loadedFlag; }
    void unload() override;
    bool isLoaded() const override { return loadedFlag; }
    bool isLoading() const override { return loadingFlag; }
    void setPaused(bool p) override { paused = p; }
    bool isPaused() const override { return paused; }
    std::optional<double> position() const override;
    std::optional<double> duration() const override;
    void seek(double s) override;
    void setRate(double r) override { lastRate = r; }
    std::optional<double> rate() const override { return lastRate; }
    std::optional<double> volumePercent() const override;
    void setVolumePercent(double v) override { volume = v; }
    bool hasVideo() const override { return loadedFlag && current.video; }
    std::optional<QSize> videoSize() const override;
    QWidget *surface(QWidget *parent) override;

    // Moves playback to the end, as a file that has played through.
    void playToEnd() { pos = current.duration; }
};

// Factories that hand the created backends to the test.
struct FakeEngines
{
    // Created for CMovie and for the RealMedia control, in order; null once destroyed.
    std::vector<QPointer<FakeBackend>> movies;
    std::vector<QPointer<FakeBackend>> reals;
    QMap<QString, FakeMedia> media;    // copied into every new backend

    MediaBackendFactory movieFactory();
    MediaBackendFactory realFactory();
    FakeBackend *movie() const { return movies.empty() ? nullptr : movies.back().data(); }
    FakeBackend *real() const { return reals.empty() ? nullptr : reals.back().data(); }
};

} // namespace fakes
