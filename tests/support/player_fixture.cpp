#include "support/player_fixture.h"


#include <QCoreApplication>

void PlayerTest::SetUp()
{
    dialogs = std::make_shared<fakes::FakeDialogs>();
    waveOut = std::make_shared<fakes::FakeWaveOut>();
    shell = std::make_shared<fakes::FakeShell>();
}

void PlayerTest::TearDown()
{
    close();
}

Player &PlayerTest::make(const QStringList &arguments)
{
    PlayerServices s;
    s.movieBackend = realEngine ? MediaBackendFactory(makeMpvBackend) : engines.movieFactory();
    s.realBackend = realEngine ? MediaBackendFactory(makeMpvBackend) : engines.realFactory();
    s.dialogs = qtDialogs ? std::shared_ptr<Dialogs>(makeQtDialogs()) : dialogs;
    s.waveOut = waveOut;
    s.tray = tray;
    s.shell = shell;
    s.appDir = appDir.path();
    s.arguments = arguments;
    s.workingDir = workDir.path();
    s.grabFrame = grabber;
    s.previewDecoder = previewDecoder;
    s.mediaControls = mediaControls;
    player = std::make_unique<Player>(std::move(s));
    return *player;
}

Player &PlayerTest::start(const QStringList &arguments)
{
    make(arguments);
    EXPECT_TRUE(player->Form_Load());
    QCoreApplication::processEvents();
    return *player;
}

Player &PlayerTest::restart(const QStringList &arguments)
{
    close();
    return start(arguments);
}

void PlayerTest::close()
{
    if (!player)
        return;
    player->close();
    QCoreApplication::processEvents();
    player.reset();
}

QString PlayerTest::touch(const QString &name)
{
    return testsupport::writeFile(work(name), "");
}
