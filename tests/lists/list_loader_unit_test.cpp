// Reading a list in slices: every existing entry in order, and a load that is completed
// or given up while the window has its events.
#include "lists/list_loader.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using testsupport::writeFile;

class ListLoading : public ::testing::Test
{
protected:
    QString entry(const QString &name) { return writeFile(dir.filePath(name), ""); }
    QString list(const QStringList &lines)
    {
        return writeFile(dir.filePath("list.m3u"), lines.join("\r\n").toUtf8() + "\r\n");
    }
    ListLoader::AddEntry collect()
    {
        return [this](const QString &folder, const QString &name) { added.append(folder + u'/' + name); };
    }
    QTemporaryDir dir;
    QStringList added;
};

TEST_F(ListLoading, AddsEveryExistingEntryInOrder)
{
    const QString a = entry("a.avi"), b = entry("sub/b.mpg");
    ListLoader loader;
    int finished = 0;
    QObject::connect(&loader, &ListLoader::finished, [&] { ++finished; });
    EXPECT_TRUE(loader.load(list({"#EXTM3U", a, dir.filePath("gone.avi"), "sub/b.mpg", entry(".hidden.avi")}),
                            collect()));
    EXPECT_EQ(added, (QStringList{a, b}));
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(loader.isLoading());
    EXPECT_FALSE(loader.load(dir.filePath("missing.m3u"), collect()));
    EXPECT_FALSE(loader.load(dir.path(), collect())) << "a folder is no list";
}

TEST_F(ListLoading, ALoadGivenUpBetweenSlicesAddsNoMore)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines.append(entry(QStringLiteral("c%1.avi").arg(i)));
    ListLoader loader;
    int started = 0, finished = 0;
    QObject::connect(&loader, &ListLoader::progressStarted, [&](int total) {
        started = total;
        loader.cancel();
    });
    QObject::connect(&loader, &ListLoader::finished, [&] { ++finished; });
    // Each entry takes a millisecond, so the first slice ends early in the list.
    loader.load(list(lines), [&](const QString &folder, const QString &name) {
        QThread::msleep(1);
        added.append(folder + u'/' + name);
    });
    EXPECT_EQ(started, 200);
    EXPECT_GT(added.size(), 0);
    EXPECT_LT(added.size(), 200);
    EXPECT_EQ(finished, 0);
    EXPECT_FALSE(loader.isLoading());
}

TEST_F(ListLoading, ALoadCompletedBetweenSlicesIsReadToItsEndOnce)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines.append(entry(QStringLiteral("c%1.avi").arg(i)));
    ListLoader loader;
    int finished = 0;
    QObject::connect(&loader, &ListLoader::progressStarted, [&] { loader.complete(); });
    QObject::connect(&loader, &ListLoader::finished, [&] { ++finished; });
    loader.load(list(lines), [&](const QString &folder, const QString &name) {
        QThread::msleep(1);
        added.append(folder + u'/' + name);
    });
    EXPECT_EQ(added, lines);
    EXPECT_EQ(finished, 1);
}
