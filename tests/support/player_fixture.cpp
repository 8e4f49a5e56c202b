#include "support/player_fixture.h"

#include "playback/cmovie.h"
#include "playback/video_surface.h"
#include "window/video_area.h"


#include <QCoreApplication>
#include <QPainter>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void PlayerTest::SetUp()
{
    dialogs = std::make_shared<fakes::FakeDialogs>();
    waveOut = std::make_shared<fakes::FakeWaveOut>();
    shell = std::make_shared<fakes::FakeShell>();
    program = appDir.path() + QStringLiteral("/bin/plovana");
    // The shared MIME database stays the system's (the association boxes need the types),
    // its desktop entries do not come along.
    QString systemDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (systemDirs.isEmpty())
        systemDirs = QStringLiteral("/usr/local/share:/usr/share");
    QDir().mkpath(xdgDataDirs());
    for (const QString &d : systemDirs.split(u':', Qt::SkipEmptyParts))
        if (QFileInfo::exists(d + QStringLiteral("/mime/mime.cache"))) {
            QFile::link(d + QStringLiteral("/mime"), xdgDataDirs() + QStringLiteral("/mime"));
            break;
        }
    const std::pair<const char *, QString> folders[] = {
        {"XDG_CONFIG_HOME", xdgConfig()}, {"XDG_DATA_HOME", xdgData()}, {"XDG_DATA_DIRS", xdgDataDirs()}};
    for (const auto &[name, folder] : folders) {
        m_environment.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, folder.toUtf8());
    }
}

void PlayerTest::TearDown()
{
    close();
    for (auto it = m_environment.begin(); it != m_environment.end(); ++it) {
        if (it.value())
            qputenv(it.key().constData(), *it.value());
        else
            qunsetenv(it.key().constData());
    }
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
    s.program = program;
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

double RealEnginePlayerTest::position() const
{
    const CMovie &m = *player->video()->movie();
    return m.mobjPosition ? m.mobjPosition->currentPosition().value_or(-1) : -1;
}

QImage testsupport::shownPicture(QWidget *widget)
{
    QImage out = widget->grab().toImage();
    QPainter p(&out);
    for (VideoSurface *s : widget->findChildren<VideoSurface *>()) {
        if (!s->isVisibleTo(widget))
            continue;
        const QImage frame = s->lastFrame();
        const QRect at(s->mapTo(widget, QPoint(0, 0)), s->size());
        // The controls over the picture are native windows of their own, above it.
        QRegion visible(at);
        for (QWidget *w : widget->findChildren<QWidget *>()) {
            if (w->testAttribute(Qt::WA_NativeWindow) && w->isVisibleTo(widget) && !w->isAncestorOf(s)
                && !s->isAncestorOf(w) && w != s)
                visible -= QRect(w->mapTo(widget, QPoint(0, 0)), w->size());
        }
        p.setClipRegion(visible);
        if (frame.isNull())
            p.fillRect(at, Qt::black);
        else
            p.drawImage(at, frame);
    }
    return out;
}
