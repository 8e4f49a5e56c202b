#pragma once
// One playback engine instance: loads one file at a time and plays it. Both the ordinary
// engine (CMovie's graph) and the RealMedia control stand on this interface; the program
// uses the libmpv implementation, the window tests a fake.
//
// Positions and durations are seconds. While nothing is loaded, or a file is still
// loading, they cannot be read (nullopt), never 0: a position timer would otherwise take
// 0 >= 0 for the end of a file. A finished file stays loaded at its end, where the
// position reads as the duration.

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

class MediaBackend : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MediaBackend() override = default;

    // Starts loading the file, paused or playing once loaded; returns at once.
    virtual void startLoad(const QString &path, bool startPaused) = 0;
    // Waits, processing events, until the file started by startLoad has loaded (true) or
    // failed (false), at most timeoutMs.
    virtual bool waitLoaded(int timeoutMs) = 0;
    // Stops and unloads the file.
    virtual void unload() = 0;

    virtual bool isLoaded() const = 0;
    virtual bool isLoading() const = 0;

    virtual void setPaused(bool paused) = 0;
    virtual bool isPaused() const = 0;

    virtual std::optional<double> position() const = 0;
    virtual std::optional<double> duration() const = 0;
    // Seeks exactly; the position is clamped to [0, duration].
    virtual void seek(double seconds) = 0;

    virtual void setRate(double rate) = 0;
    virtual std::optional<double> rate() const = 0;

    // Volume in percent of full scale; nullopt while the file has no audio.
    virtual std::optional<double> volumePercent() const = 0;
    virtual void setVolumePercent(double percent) = 0;

    virtual bool hasVideo() const = 0;
    // The picture size; valid once the video has been configured.
    virtual std::optional<QSize> videoSize() const = 0;

    // The widget that shows the picture, created on first use as a child of `parent`
    // (later calls move it there).
    virtual QWidget *surface(QWidget *parent) = 0;

Q_SIGNALS:
    void loaded();
    void loadFailed();
    void videoConfigured();
    void framePainted();
};

using MediaBackendFactory = std::function<std::unique_ptr<MediaBackend>()>;

// The libmpv engine. Audio goes to the output named by PLOVANA_MPV_AO (tests use "null"),
// else to mpv's default, falling back to a null output when there is no sound device.
std::unique_ptr<MediaBackend> makeMpvBackend();
