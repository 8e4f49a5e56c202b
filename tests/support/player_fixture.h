#pragma once
// The real main window with doubles for the engines, the dialogs and the mixer, in a
// state folder of its own.

#include "app/player.h"

#include "fakes/fake_backend.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system_tray.h"
#include "fakes/fake_wave_out.h"
#include "support/test_support.h"

#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class PlayerTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window (not yet started) with these command-line arguments.
    Player &make(const QStringList &arguments = {});
    // Builds and starts it; fails the test when start-up refuses to run.
    Player &start(const QStringList &arguments = {});
    // Closes the window (running shutdown) and starts a new one on the same state folder.
    Player &restart(const QStringList &arguments = {});
    // Runs shutdown.
    void close();

    QString app(const QString &name = {}) const { return appDir.path() + u'/' + name; }
    QString work(const QString &name = {}) const { return workDir.path() + u'/' + name; }
    // Creates an (empty) file in the work folder and returns its path.
    QString touch(const QString &name);

    // Window tests use the engine doubles; engine tests set this for the real libmpv.
    bool realEngine = false;
    // Window tests answer the dialogs from a script; a test of the real boxes sets this.
    bool qtDialogs = false;
    // Window tests stay off the session bus; a test of the desktop's media controls sets this.
    bool mediaControls = false;
    QTemporaryDir appDir;
    QTemporaryDir workDir;
    fakes::FakeEngines engines;
    std::shared_ptr<fakes::FakeDialogs> dialogs;
    std::shared_ptr<fakes::FakeWaveOut> waveOut;
    // The notification area; empty: the desktop's own (none under offscreen).
    std::shared_ptr<fakes::FakeSystemTray> tray;
    // The desktop's file manager (properties windows, folders): always the double.
    std::shared_ptr<fakes::FakeShell> shell;
    // Takes the thumbnails' frames; empty: the real FFmpeg detector.
    ThumbnailMaker::Grabber grabber;
    // The program's path the associations' desktop entry starts (no file unless a test
    // makes one).
    QString program;
    // The desktop's folders ($XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_DATA_DIRS) are folders of
    // the test's own: no test reads or writes the user's associations.
    QTemporaryDir xdgDir;
    QString xdgConfig() const { return xdgDir.path() + QStringLiteral("/config"); }
    QString xdgData() const { return xdgDir.path() + QStringLiteral("/data"); }
    QString xdgDataDirs() const { return xdgDir.path() + QStringLiteral("/system"); }
    // Decodes the seek bar preview's frames; empty: the real FFmpeg decoder.
    PreviewDecoderFactory previewDecoder;
    std::unique_ptr<Player> player;

private:
    QHash<QByteArray, std::optional<QByteArray>> m_environment; // the variables as they were
};

// The window on the real engine (libmpv with null outputs), started in SetUp.
class RealEnginePlayerTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        realEngine = true;
        start();
    }
    // The engine's own position in seconds, -1 without an open file.
    double position() const;
};

namespace testsupport {
// What a person sees of a widget showing video: its own grab with the picture of each video
// surface in it laid over where the surface lies. The picture is a native window of its own,
// which a widget's grab does not see.
QImage shownPicture(QWidget *widget);
} // namespace testsupport
