// The 200 damaged files of make-damaged.sh opened one after another in one window on the
// real engines: none crashes the program, each open returns within the bounded wait and a
// second, the window keeps answering (a 100 ms timer), and a good clip plays after them all.
#include "support/player_fixture.h"

#include "app/timer.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "window/video_area.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

using testsupport::clip;
using testsupport::waitFor;

namespace {

QStringList damagedFiles()
{
    const QDir dir(testsupport::mediaDir() + QStringLiteral("/damaged"));
    QStringList files;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

} // namespace

class DamagedMedia : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        realEngine = true;
        start();
    }
};

TEST_F(DamagedMedia, EveryFileOpensWithinTheBoundedWaitAndAGoodClipPlaysAfterThem)
{
    const QStringList files = damagedFiles();
    ASSERT_EQ(files.size(), 200);

    QElapsedTimer clock;
    qint64 last = 0, worst = 0;
    QString worstDuring;
    QString current;
    QTimer beat;
    beat.setInterval(100);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 gap = clock.elapsed() - last;
        if (gap > worst) {
            worst = gap;
            worstDuring = current;
        }
        last = clock.elapsed();
    });
    clock.start();
    beat.start();

    for (const QString &file : files) {
        current = file;
        QElapsedTimer open;
        open.start();
        player->openMedia(file, 0);
        EXPECT_LT(open.elapsed(), CMovie::kOpenTimeoutMs + 1000) << file.toStdString();
        // The window's events between one open and the next, as between a user's clicks.
        testsupport::pump(20);
    }
    current = QStringLiteral("the end");
    testsupport::pump(150);
    EXPECT_LT(worst, 350) << "a 100 ms timer came " << worst - 100 << " ms late, opening "
                          << worstDuring.toStdString();

    player->openMedia(clip(QStringLiteral("clip.avi")), 0);
    EXPECT_EQ(player->video->movie->fileName, clip(QStringLiteral("clip.avi")));
    EXPECT_TRUE(player->playback->tmrPosition->enabled());
    EXPECT_TRUE(waitFor(
        [&] {
            const auto *p = player->video->movie->mobjPosition;
            return p && p->currentPosition().value_or(0) > 0.5;
        },
        5000));
}
