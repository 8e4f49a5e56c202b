// The desktop's media controls as a client on the session bus sees them: the real window
// (engine doubles) registered as an MPRIS2 player, driven and read through a connection of
// the test's own. Every call is asynchronous, the window's events running meanwhile: the
// service runs on this same thread. Runs under dbus-run-session; without a session bus the
// tests skip.
#include "support/player_fixture.h"

#include "app/media_controls.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "widgets/command_ids.h"
#include "widgets/controls.h"
#include "window/control_bar.h"
#include "widgets/twips.h"
#include "window/video_area.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <QFileInfo>

#include <cmath>
#include <csignal>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.plovana");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProps = QStringLiteral("org.freedesktop.DBus.Properties");

bool haveBus() { return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"); }

QVariant plain(const QVariant &v)
{
    if (v.userType() == qMetaTypeId<QDBusVariant>())
        return plain(v.value<QDBusVariant>().variant());
    if (v.userType() == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument arg = v.value<QDBusArgument>();
        if (arg.currentSignature() == u"a{sv}")
            return qdbus_cast<QVariantMap>(arg);
        if (arg.currentSignature() == u"as")
            return qdbus_cast<QStringList>(arg);
    }
    return v;
}

} // namespace

// A client of the session bus: its own connection, its calls asynchronous.
class BusClient : public QObject
{
    Q_OBJECT
public:
    BusClient() : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("test-client")))
    {
        bus.connect(QString(), kPath, kProps, QStringLiteral("PropertiesChanged"), this,
                    SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        bus.connect(QString(), kPath, kPlayer, QStringLiteral("Seeked"), this, SLOT(seeked(qlonglong)));
    }
    ~BusClient() override { QDBusConnection::disconnectFromBus(QStringLiteral("test-client")); }

    QDBusMessage call(const QString &iface, const QString &method, const QVariantList &args = {},
                      const QString &service = kService)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(service, kPath, iface, method);
        m.setArguments(args);
        QDBusPendingCall p = bus.asyncCall(m, 5000);
        testsupport::waitFor([&] { return p.isFinished(); }, 6000);
        return p.reply();
    }
    QVariant get(const QString &name, const QString &iface = kPlayer)
    {
        const QDBusMessage r = call(kProps, QStringLiteral("Get"), {iface, name});
        return r.arguments().isEmpty() ? QVariant() : plain(r.arguments().first());
    }
    QDBusMessage set(const QString &name, const QVariant &value, const QString &iface = kPlayer)
    {
        return call(kProps, QStringLiteral("Set"), {iface, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata() { return get(QStringLiteral("Metadata")).toMap(); }

    QDBusConnection bus;
    // Every PropertiesChanged of the player interface, with the time it came (ms since start).
    QList<std::pair<qint64, QVariantMap>> changes;
    QList<qlonglong> seeks;
    QElapsedTimer clock;

public Q_SLOTS:
    void propertiesChanged(const QString &iface, const QVariantMap &changed, const QStringList &)
    {
        if (iface != kPlayer)
            return;
        QVariantMap m;
        for (auto it = changed.begin(); it != changed.end(); ++it)
            m.insert(it.key(), plain(it.value()));
        changes.append({clock.elapsed(), m});
    }
    void seeked(qlonglong us) { seeks.append(us); }
};

class MediaControlsTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        if (!haveBus())
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        mediaControls = true;
        start();
        ASSERT_TRUE(player->mediaControls());
        ASSERT_EQ(player->mediaControls()->serviceName(), kService);
        client = std::make_unique<BusClient>();
        client->clock.start();
    }
    void TearDown() override
    {
        client.reset();
        PlayerTest::TearDown();
    }
    // Whether a PropertiesChanged signal has sent this value for the property (waiting for it).
    bool changedTo(const QString &name, const QVariant &value, int timeoutMs = 2000)
    {
        return testsupport::waitFor(
            [&] {
                for (const auto &[at, changed] : client->changes)
                    if (changed.contains(name) && changed.value(name) == value)
                        return true;
                return false;
            },
            timeoutMs);
    }
    // Opens a file of the file page as a click on its row would: the row is selected.
    void openListed(const QString &name)
    {
        touch("v/" + name);
        player->files()->setFilePath(work("v"));
        player->listPane()->Tab1()->select(1);
        FileListBox *list = player->files()->File();
        for (int row = 0; row < list->listCount(); ++row)
            if (list->list(row) == name)
                list->setListIndex(row);
        player->openMedia(work("v/" + name), 0);
    }
    std::unique_ptr<BusClient> client;
};

TEST_F(MediaControlsTest, WhoThePlayerIs)
{
    EXPECT_EQ(client->get("Identity", kRoot).toString(), "Plovana");
    EXPECT_EQ(client->get("DesktopEntry", kRoot).toString(), "plovana");
    EXPECT_TRUE(client->get("CanQuit", kRoot).toBool());
    EXPECT_TRUE(client->get("CanRaise", kRoot).toBool());
    EXPECT_FALSE(client->get("HasTrackList", kRoot).toBool());
    EXPECT_EQ(client->get("SupportedUriSchemes", kRoot).toStringList(), QStringList{"file"});
    const QStringList mime = client->get("SupportedMimeTypes", kRoot).toStringList();
    EXPECT_TRUE(mime.contains("video/x-msvideo") || mime.contains("video/vnd.avi")) << mime.join(' ').toStdString();
    EXPECT_TRUE(mime.contains("video/mp4"));
    EXPECT_TRUE(client->get("CanControl").toBool());
    EXPECT_EQ(client->get("MinimumRate").toDouble(), 0.5);
    EXPECT_EQ(client->get("MaximumRate").toDouble(), 2.0);
}

TEST_F(MediaControlsTest, NothingOpenIsStoppedWithNoTrack)
{
    EXPECT_EQ(client->get("PlaybackStatus").toString(), "Stopped");
    const QVariantMap m = client->metadata();
    EXPECT_EQ(m.value("mpris:trackid").value<QDBusObjectPath>().path(), "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    EXPECT_FALSE(m.contains("xesam:title"));
    EXPECT_FALSE(client->get("CanSeek").toBool());
    EXPECT_EQ(client->get("Position").toLongLong(), 0);
}

TEST_F(MediaControlsTest, PlayPauseAndStatusFollowTheWindowWithinATenthOfASecond)
{
    Player &p = *player;
    const qint64 before = client->clock.elapsed();
    openListed("Holiday 2024.avi");
    EXPECT_TRUE(changedTo("PlaybackStatus", QStringLiteral("Playing")));
    ASSERT_FALSE(client->changes.isEmpty());
    EXPECT_LE(client->changes.first().first - before, 100) << "ms from the open to PropertiesChanged";
    EXPECT_EQ(client->get("PlaybackStatus").toString(), "Playing");

    client->call(kPlayer, "Play"); // playing already: nothing
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Playing);
    client->call(kPlayer, "Pause");
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Paused);
    EXPECT_TRUE(changedTo("PlaybackStatus", QStringLiteral("Paused")));
    client->call(kPlayer, "Pause"); // paused already: nothing
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Paused);
    client->call(kPlayer, "Play");
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Playing);
    client->call(kPlayer, "PlayPause");
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Paused);
    client->call(kPlayer, "PlayPause");
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Playing);
    client->call(kPlayer, "Stop");
    EXPECT_TRUE(p.video()->movie()->fileName.isEmpty()) << "the stop command closes the file";
    EXPECT_TRUE(changedTo("PlaybackStatus", QStringLiteral("Stopped")));
}

TEST_F(MediaControlsTest, MetadataNamesTheFileWithANewTrackAtEveryOpen)
{
    Player &p = *player;
    engines.media[work("a.avi")] = {12.5};
    p.openMedia(touch("a.avi"), 0);
    QVariantMap m = client->metadata();
    EXPECT_EQ(m.value("xesam:title").toString(), "a");
    EXPECT_EQ(m.value("xesam:url").toString(), QUrl::fromLocalFile(work("a.avi")).toString());
    EXPECT_EQ(m.value("mpris:length").userType(), QMetaType::LongLong) << "clients read int64 only";
    EXPECT_EQ(m.value("mpris:length").toLongLong(), 12'500'000);
    EXPECT_FALSE(m.contains("mpris:artUrl")) << "no thumbnail yet";
    const QString first = m.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_FALSE(first.isEmpty());

    // The entry's thumbnail becomes the art; the same file opened again is a new track.
    testsupport::writeFile(app("image/a.bmp"), "BM");
    p.stop_Click();
    p.openMedia(work("a.avi"), 0);
    m = client->metadata();
    EXPECT_NE(m.value("mpris:trackid").value<QDBusObjectPath>().path(), first);
    EXPECT_EQ(m.value("mpris:artUrl").toString(), QUrl::fromLocalFile(app("image/a.bmp")).toString());
    EXPECT_TRUE(testsupport::waitFor([&] {
        return !client->changes.isEmpty() && client->changes.last().second.value("Metadata").toMap().contains("xesam:title");
    }));
}

TEST_F(MediaControlsTest, SeekAndSetPositionWithSeekedFromEverySeek)
{
    Player &p = *player;
    engines.media[work("a.avi")] = {30.0};
    p.openMedia(touch("a.avi"), 0);
    fakes::FakeBackend &engine = *engines.movie();
    engine.pos = 10;
    EXPECT_EQ(client->get("Position").toLongLong(), 10'000'000);

    client->call(kPlayer, "Seek", {qlonglong(5'000'000)});
    EXPECT_DOUBLE_EQ(engine.pos, 15);
    client->call(kPlayer, "Seek", {qlonglong(-60'000'000)});
    EXPECT_DOUBLE_EQ(engine.pos, 0) << "never before the start";
    ASSERT_TRUE(testsupport::waitFor([&] { return client->seeks.size() >= 2; }));
    EXPECT_EQ(client->seeks.mid(0, 2), (QList<qlonglong>{15'000'000, 0}));

    const QVariant track = client->metadata().value("mpris:trackid");
    client->call(kPlayer, "SetPosition", {track, qlonglong(20'000'000)});
    EXPECT_DOUBLE_EQ(engine.pos, 20);
    client->call(kPlayer, "SetPosition",
                 {QVariant::fromValue(QDBusObjectPath("/org/plovana/track/999")), qlonglong(5'000'000)});
    EXPECT_DOUBLE_EQ(engine.pos, 20) << "a stale track is ignored";
    client->call(kPlayer, "SetPosition", {track, qlonglong(31'000'000)});
    EXPECT_DOUBLE_EQ(engine.pos, 20) << "past the length is ignored";

    // A seek on the seek bar is a seek too.
    const int before = static_cast<int>(client->seeks.size());
    p.controls()->SeekBar_MouseUp(Qt::LeftButton, {}, twips::width(p.controls()->SeekBar()) / 2);
    EXPECT_TRUE(testsupport::waitFor([&] { return client->seeks.size() > before; }));
}

TEST_F(MediaControlsTest, ASeekPastTheEndPlaysTheNextFile)
{
    Player &p = *player;
    touch("v/a.avi");
    touch("v/b.avi");
    p.files()->setFilePath(work("v"));
    p.listPane()->Tab1()->select(1);
    p.files()->File()->setListIndex(0);
    p.openMedia(work("v/a.avi"), 0);
    EXPECT_TRUE(client->get("CanGoNext").toBool());
    EXPECT_TRUE(client->get("CanGoPrevious").toBool());
    client->call(kPlayer, "Seek", {qlonglong(60'000'000)});
    EXPECT_EQ(p.video()->movie()->fileName, work("v/b.avi"));
    client->call(kPlayer, "Previous");
    EXPECT_EQ(p.video()->movie()->fileName, work("v/a.avi"));
    client->call(kPlayer, "Next");
    EXPECT_EQ(p.video()->movie()->fileName, work("v/b.avi"));
}

TEST_F(MediaControlsTest, CanPlayWantsAnOpenFileOrASelectedRow)
{
    Player &p = *player;
    p.listPane()->Tab1()->select(2);
    EXPECT_FALSE(client->get("CanPlay").toBool());
    EXPECT_FALSE(client->get("CanGoNext").toBool());
    p.favourites()->add_okini_item(work().chopped(1), QFileInfo(touch("a.avi")).fileName());
    EXPECT_TRUE(changedTo("CanGoNext", true)) << "a row came";
    EXPECT_FALSE(client->get("CanPlay").toBool()) << "no row selected, no file open";
    // Only the changes from here on: CanPlay may have been true for a moment before (a
    // match in the history would not wait for this selection's news).
    client->changes.clear();
    p.favourites()->selectOkini(1);
    EXPECT_TRUE(changedTo("CanPlay", true));
    EXPECT_TRUE(client->get("CanPause").toBool());
    client->call(kPlayer, "Play");
    EXPECT_EQ(p.video()->movie()->fileName, work("a.avi")) << "play opens the selected row";
    EXPECT_TRUE(client->get("CanSeek").toBool());
}

TEST_F(MediaControlsTest, LoopAndShuffleAreThePlayModes)
{
    Player &p = *player;
    auto mode = [&] { return p.playback()->getPlayMode(); };
    client->set("LoopStatus", QStringLiteral("None"));
    EXPECT_EQ(mode(), PlayMode::Normal);
    EXPECT_TRUE(p.commands().action(command::mode(0))->isChecked()) << "the mode menu shows it";
    client->set("LoopStatus", QStringLiteral("Track"));
    EXPECT_EQ(mode(), PlayMode::Loop);
    EXPECT_EQ(client->get("LoopStatus").toString(), "Track");
    client->set("LoopStatus", QStringLiteral("Playlist"));
    EXPECT_EQ(mode(), PlayMode::Continuous);
    client->set("Shuffle", true);
    EXPECT_EQ(mode(), PlayMode::Random);
    EXPECT_TRUE(client->get("Shuffle").toBool());
    EXPECT_EQ(client->get("LoopStatus").toString(), "Playlist");
    client->set("LoopStatus", QStringLiteral("Playlist"));
    EXPECT_EQ(mode(), PlayMode::Random) << "shuffling goes on";
    client->set("Shuffle", false);
    EXPECT_EQ(mode(), PlayMode::Continuous);
    EXPECT_TRUE(p.commands().action(command::mode(1))->isChecked());
    // A mode chosen in the menu reaches the client.
    p.commands().trigger(command::mode(2));
    EXPECT_TRUE(changedTo("LoopStatus", QStringLiteral("Track")));
}

TEST_F(MediaControlsTest, RateSnapsToTheSpeedsAndZeroPauses)
{
    Player &p = *player;
    openListed("a.avi");
    client->set("Rate", 1.6);
    EXPECT_EQ(p.playback()->state().speed(), PlaySpeed::OneAndHalf);
    EXPECT_TRUE(p.commands().action(command::speed(1))->isChecked());
    EXPECT_EQ(engines.movie()->lastRate, 1.5);
    EXPECT_EQ(client->get("Rate").toDouble(), 1.5);
    client->set("Rate", 1.25);
    EXPECT_EQ(p.playback()->state().speed(), PlaySpeed::Normal) << "a tie goes toward 1.0";
    client->set("Rate", 4.0);
    EXPECT_EQ(p.playback()->state().speed(), PlaySpeed::Double);
    EXPECT_TRUE(changedTo("Rate", 2.0));
    client->set("Rate", 0.0);
    EXPECT_EQ(p.playback()->state().status(), PlayStatus::Paused);
    EXPECT_EQ(p.playback()->state().speed(), PlaySpeed::Double);
}

TEST_F(MediaControlsTest, VolumeIsTheVolumeBarsOnItsOwnPath)
{
    Player &p = *player;
    p.openMedia(touch("a.avi"), 0);
    client->set("Volume", 0.5);
    EXPECT_EQ(p.controls()->vol()->value(), 50);
    EXPECT_EQ(p.controls()->volForFullscreen()->value(), 50);
    EXPECT_NEAR(engines.movie()->volume, 100 * std::pow(10.0, -2500.0 / 6000.0), 0.5) << "the engine follows";
    client->set("Volume", 1.7);
    EXPECT_EQ(p.controls()->vol()->value(), 100);
    client->set("Volume", -1.0);
    EXPECT_EQ(p.controls()->vol()->value(), 0);
    p.controls()->setVolume(30);
    EXPECT_TRUE(changedTo("Volume", 0.3));
    EXPECT_DOUBLE_EQ(client->get("Volume").toDouble(), 0.3);
    close();
    EXPECT_TRUE(testsupport::readFile(app("config.ini")).contains("volume=30"));
}

TEST_F(MediaControlsTest, RaiseBringsBackAHiddenWindowAndQuitRunsShutdown)
{
    Player &p = *player;
    p.hide();
    client->call(kRoot, "Raise");
    EXPECT_TRUE(p.isVisible());
    p.showMinimized();
    client->call(kRoot, "Raise");
    EXPECT_TRUE(testsupport::waitFor([&] { return p.isVisible() && !p.isMinimized(); }));
    QFile::remove(app("config.ini"));
    client->call(kRoot, "Quit");
    EXPECT_TRUE(testsupport::waitFor([&] { return QFileInfo::exists(app("config.ini")); }))
        << "closing the window runs shutdown";
}

// ---- Whole programs on the bus

namespace {

struct Program
{
    Program(const QString &stateDir, const QStringList &args, const QString &bus = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PLOVANA_APPDIR", stateDir);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PLOVANA_MIXER", "none");
        env.insert("PLOVANA_MPV_AO", "null");
        if (!bus.isNull())
            env.insert("DBUS_SESSION_BUS_ADDRESS", bus);
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("PLOVANA_EXE"), args);
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            testsupport::signalProcess(process, SIGTERM);
            if (!process.waitForFinished(10000))
                process.kill();
        }
    }
    bool close()
    {
        testsupport::signalProcess(process, SIGTERM);
        return process.waitForFinished(10000);
    }
    QProcess process;
};

QStringList busNames(BusClient &client)
{
    const QDBusMessage r = client.call("org.freedesktop.DBus", "ListNames", {}, "org.freedesktop.DBus");
    return r.arguments().isEmpty() ? QStringList() : r.arguments().first().toStringList();
}

} // namespace

TEST_F(MediaControlsTest, ASecondCopyTakesANameOfItsOwn)
{
    QTemporaryDir other;
    Program second(other.path(), {});
    ASSERT_TRUE(second.process.waitForStarted(5000));
    const QString instance = kService + QStringLiteral(".instance%1").arg(second.process.processId());
    EXPECT_TRUE(testsupport::waitFor([&] { return busNames(*client).contains(instance); }, 15000))
        << busNames(*client).join(' ').toStdString();
    EXPECT_TRUE(busNames(*client).contains(kService)) << "the first copy keeps the plain name";
    EXPECT_EQ(client->get("Identity", kRoot).toString(), "Plovana");
    EXPECT_TRUE(second.close());
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_TRUE(testsupport::waitFor([&] { return !busNames(*client).contains(instance); }, 5000));
}

TEST(MediaControlsNoBus, WithoutASessionBusNothingFailsOrWaits)
{
    QTemporaryDir state;
    QElapsedTimer t;
    t.start();
    Program program(state.path(), {}, QStringLiteral("unix:path=/nonexistent/bus"));
    ASSERT_TRUE(program.process.waitForStarted(5000));
    ASSERT_TRUE(testsupport::waitFor([&] { return QFileInfo::exists(state.filePath("okini.ini")); }, 15000))
        << "the favourites' first load ended";
    EXPECT_LT(t.elapsed(), 10000);
    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.process.exitCode(), 0);
}

#include "media_controls_dbus_test.moc"
