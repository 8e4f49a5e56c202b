// The desktop's media controls with real pieces: the real engine's length and position as a
// client reads them, and playerctl, a real client, driving the real program. Runs under
// dbus-run-session; without a session bus (or playerctl) the tests skip.
#include "support/player_fixture.h"

#include "app/media_controls.h"
#include "playback/now_playing.h"
#include "playback/playback.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <cmath>

namespace {

bool haveBus() { return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"); }

// A property of the player interface, asked on a connection of the test's own.
QVariant playerProperty(const QString &name)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("engine-client"));
    QDBusMessage m = QDBusMessage::createMethodCall(QStringLiteral("org.mpris.MediaPlayer2.plovana"),
                                                    QStringLiteral("/org/mpris/MediaPlayer2"),
                                                    QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
    m.setArguments({QStringLiteral("org.mpris.MediaPlayer2.Player"), name});
    QDBusPendingCall p = bus.asyncCall(m, 5000);
    testsupport::waitFor([&] { return p.isFinished(); }, 6000);
    const QDBusMessage r = p.reply();
    if (r.arguments().isEmpty())
        return {};
    QVariant v = r.arguments().first().value<QDBusVariant>().variant();
    if (v.userType() == qMetaTypeId<QDBusArgument>())
        v = qdbus_cast<QVariantMap>(v.value<QDBusArgument>());
    return v;
}

} // namespace

class MprisEngine : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        if (!haveBus())
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        realEngine = true;
        mediaControls = true;
        start();
    }
    void TearDown() override
    {
        PlayerTest::TearDown();
        QDBusConnection::disconnectFromBus(QStringLiteral("engine-client"));
    }
};

TEST_F(MprisEngine, TheLengthAndThePositionOfARealClip)
{
    player->openMedia(testsupport::clip("clip.avi"), 0);
    const QVariantMap m = playerProperty("Metadata").toMap();
    EXPECT_NEAR(m.value("mpris:length").toLongLong(), 5'000'000, 10'000);
    testsupport::pump(800); // it plays on
    const NowPlaying &np = player->playback()->nowPlaying();
    const qlonglong read = playerProperty("Position").toLongLong();
    const auto engine = np.position();
    ASSERT_TRUE(engine);
    EXPECT_NEAR(read / 1e6, *engine / np.unitsPerSecond(), 0.15) << "seconds";
    EXPECT_GT(read, 0);
}

// ---- playerctl on the real program

namespace {

// playerctl's answer to one command line, its exit code with it.
std::pair<QString, int> playerctl(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("playerctl"), QStringList{"-p", "plovana"} + args);
    if (!p.waitForFinished(10000))
        return {QString(), -1};
    return {QString::fromUtf8(p.readAllStandardOutput()).trimmed(), p.exitCode()};
}

} // namespace

TEST(MprisClient, PlayerctlDrivesTheRealProgram)
{
    if (!haveBus())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    if (QStandardPaths::findExecutable("playerctl").isEmpty())
        GTEST_SKIP() << "playerctl is missing";
    QTemporaryDir state, media;
    for (const char *name : {"a first.avi", "b second.avi"})
        ASSERT_TRUE(QFile::copy(testsupport::clip("long.avi"), media.filePath(QString::fromLatin1(name))));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PLOVANA_APPDIR", state.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PLOVANA_MIXER", "none");
    env.insert("PLOVANA_MPV_AO", "null");
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("PLOVANA_EXE"), {media.filePath("a first.avi")});
    ASSERT_TRUE(program.waitForStarted(5000));

    ASSERT_TRUE(testsupport::waitFor([] { return playerctl({"status"}).first == u"Playing"; }, 20000))
        << playerctl({"status"}).first.toStdString();
    const QString meta = playerctl({"metadata", "--format", "{{title}} {{mpris:length}}"}).first;
    EXPECT_EQ(meta.section(u' ', 0, 1), "a first");
    EXPECT_NEAR(meta.section(u' ', 2).toLongLong(), 330'000'000, 100'000) << meta.toStdString();

    playerctl({"play-pause"});
    EXPECT_TRUE(testsupport::waitFor([] { return playerctl({"status"}).first == u"Paused"; }, 5000));
    playerctl({"position", "3"});
    EXPECT_TRUE(testsupport::waitFor([] { return std::abs(playerctl({"position"}).first.toDouble() - 3.0) < 0.5; }, 5000))
        << playerctl({"position"}).first.toStdString();
    playerctl({"loop", "Track"});
    EXPECT_TRUE(testsupport::waitFor([] { return playerctl({"loop"}).first == u"Track"; }, 5000));
    playerctl({"shuffle", "On"});
    EXPECT_TRUE(testsupport::waitFor([] { return playerctl({"shuffle"}).first == u"On"; }, 5000));
    playerctl({"shuffle", "Off"});
    playerctl({"loop", "None"});
    playerctl({"volume", "0.4"});
    EXPECT_TRUE(testsupport::waitFor([] { return std::abs(playerctl({"volume"}).first.toDouble() - 0.4) < 0.005; }, 5000));
    playerctl({"next"});
    EXPECT_TRUE(testsupport::waitFor(
        [] { return playerctl({"metadata", "--format", "{{title}}"}).first == u"b second"; }, 10000))
        << playerctl({"metadata", "--format", "{{title}}"}).first.toStdString();

    testsupport::signalProcess(program, SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    QFile config(state.filePath("config.ini"));
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_TRUE(config.readAll().contains("volume=40")) << "the bar, config.ini and the engine agree";
}
