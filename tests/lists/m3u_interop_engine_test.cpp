// A list saved by the program plays in another player: mpv opens every entry of it.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "lists/favourites_page.h"
#include "widgets/timer.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>

TEST_F(PlayerTest, SavedM3uOpensEveryEntryInMpv)
{
    Player &p = start();
    p.favourites()->tmr_okini()->setEnabled(false);
    // Entries beside the list, under its parent and elsewhere, with "soutai" on.
    QDir().mkpath(work("lists/clips"));
    const QStringList clips{work("lists/clips/a b.avi"), work("c.mpg"), testsupport::clip("clip.wmv")};
    QFile::copy(testsupport::clip("short3.avi"), clips[0]);
    QFile::copy(testsupport::clip("clip.mpg"), clips[1]);
    p.options()->Check_soutai()->setChecked(true);
    for (const QString &c : clips)
        p.favourites()->add_okini_item(c.left(c.lastIndexOf('/')), c.mid(c.lastIndexOf('/') + 1));
    const QString m3u = work("lists/saved.m3u");
    p.favourites()->save_okini(m3u);

    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    mpv.start("mpv", {"--no-config", "--vo=null", "--ao=null", "--frames=1", "--msg-level=all=info",
                      "--playlist=" + m3u});
    ASSERT_TRUE(mpv.waitForFinished(30000));
    const QString out = QString::fromUtf8(mpv.readAll());
    for (const QString &c : clips)
        EXPECT_TRUE(out.contains("Playing: " + c) || out.contains(QFileInfo(c).fileName()))
            << c.toStdString() << "\n" << out.toStdString();
    EXPECT_EQ(out.count("Playing: "), 3) << out.toStdString();
    EXPECT_FALSE(out.contains("Failed to open")) << out.toStdString();
    EXPECT_FALSE(out.contains("Errors when loading file")) << out.toStdString();
}
