#include "lists/list_file.h"
#include "lists/tab_files.h"

#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ListFile, LinesResolveAgainstTheListFolder)
{
    QTemporaryDir tmp;
    const QString lists = tmp.path() + "/lists";
    QDir().mkpath(lists);
    EXPECT_EQ(resolveListLine("./clips/x.avi", lists), lists + "/clips/x.avi");
    EXPECT_EQ(resolveListLine("../y.avi", lists), tmp.path() + "/y.avi");
    EXPECT_EQ(resolveListLine("/other/z.avi", lists), "/other/z.avi");
    // Written by other players: bare relative lines and file:// URIs.
    EXPECT_EQ(resolveListLine("sub/dir/a.avi", lists), lists + "/sub/dir/a.avi");
    EXPECT_EQ(resolveListLine("a.avi", lists), lists + "/a.avi");
    EXPECT_EQ(resolveListLine("file:///tmp/My%20Clips/%E5%8B%95%E7%94%BB.avi", lists),
              QString::fromUtf8("/tmp/My Clips/動画.avi"));
    EXPECT_EQ(resolveListLine("file://otherhost/x.avi", lists), "//otherhost/x.avi");
    // Comments stay comments; lines naming nothing give "".
    EXPECT_EQ(resolveListLine("#EXTINF:10,Title", lists), "#EXTINF:10,Title");
    EXPECT_EQ(resolveListLine("", lists), "");
    EXPECT_EQ(resolveListLine(".x", lists), "");
}

TEST(ListFile, SplitAtTheLastSlash)
{
    EXPECT_EQ(splitListLine("/m/a,b/c d.avi"), std::make_pair(QString("/m/a,b"), QString("c d.avi")));
    EXPECT_EQ(splitListLine("/x.avi"), std::make_pair(QString(""), QString("x.avi")));
    EXPECT_FALSE(splitListLine("#EXTM3U").has_value());
    EXPECT_FALSE(splitListLine("noslash.avi").has_value());
}

TEST(ListFile, SavedLinesRelativeWithSoutai)
{
    QTemporaryDir tmp;
    const QString lists = tmp.path() + "/lists";
    QDir().mkpath(lists + "/clips");
    EXPECT_EQ(listFileLine(lists + "/clips/", "x.avi", lists, true), "./clips/x.avi");
    EXPECT_EQ(listFileLine(lists + "/", "w.avi", lists, true), "./w.avi");
    EXPECT_EQ(listFileLine(tmp.path() + "/", "y.avi", lists, true), "../y.avi");
    EXPECT_EQ(listFileLine("/other/tree/", "z.avi", lists, true), "/other/tree/z.avi");
    EXPECT_EQ(listFileLine(lists + "/clips/", "x.avi", lists, false), lists + "/clips/x.avi");
    EXPECT_FALSE(listFileLine("/m/", "", lists, false).has_value());
    for (const QString &folder : {lists + "/clips/", lists + "/", tmp.path() + "/", QString("/other/tree/")}) {
        const QString line = *listFileLine(folder, "v.avi", lists, true);
        EXPECT_EQ(resolveListLine(line, lists), folder + "v.avi") << line.toStdString();
    }
}

TEST(ListFile, AFileInTheRootFolderIsKeptBySave)
{
    // "/x.avi" splits into the folder "" and the name: the save writes it back, with
    // absolute and with relative paths (it used to leave the entry out).
    QTemporaryDir tmp;
    const QString lists = tmp.path() + "/lists";
    QDir().mkpath(lists);
    const QList<ListEntry> entries = parseListFile("#EXTM3U\r\n/x.avi\r\n./a.avi\r\n\r\n", lists);
    ASSERT_EQ(entries, (QList<ListEntry>{{"", "x.avi"}, {lists, "a.avi"}}));
    EXPECT_EQ(formatListFile(entries, lists, true), "/x.avi\r\n./a.avi\r\n");
    EXPECT_EQ(formatListFile(entries, lists, false), ("/x.avi\r\n" + lists + "/a.avi\r\n").toUtf8());
    EXPECT_EQ(parseListFile(formatListFile(entries, lists, true), lists), entries);
}

TEST(ListFile, APathWithALineBreakIsSavedAsAUri)
{
    // A file named with a line break: written as two lines it would come back as two other
    // files. Written as a file:// URI it comes back as itself.
    QTemporaryDir tmp;
    const QString lists = tmp.path() + "/lists";
    QDir().mkpath(lists);
    const QList<ListEntry> entries{{lists + "/a\nb", "c\r%#?.avi"}, {lists, "plain.avi"}};
    const QByteArray saved = formatListFile(entries, lists, true);
    EXPECT_EQ(saved.count("\r\n"), 2) << saved.toStdString();
    EXPECT_TRUE(saved.startsWith("file://")) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith("\r\n./plain.avi\r\n")) << saved.toStdString();
    EXPECT_EQ(parseListFile(saved, lists), entries);
    // A leading "//" (from a file://host line) would begin the URI's host: it is written as "/".
    EXPECT_EQ(parseListFile(formatListFile({{"//x\ny", "z.avi"}}, lists, false), lists),
              (QList<ListEntry>{{"/x\ny", "z.avi"}}));
}

TEST(TabFiles, RelativeRecordsUnderTheProgramFolder)
{
    QTemporaryDir tmp;
    const QString app = tmp.path() + "/app/";
    QDir().mkpath(app + "movies");
    const QString file = app + "tabdir.ini";
    const QList<TabRecord> tabs{{"movies", app + "movies"}, {"other", "/srv/video/"}};
    ASSERT_TRUE(writeTabFile(file, tabs, app, true, true));
    EXPECT_EQ(testsupport::readFile(file), "\"movies\",\"./movies/\"\r\n\"other\",\"/srv/video/\"\r\n");
    const auto back = readTabFile(file, app);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->at(0).tag, app + "movies/");
    EXPECT_EQ(back->at(1).tag, "/srv/video/");

    // A favourites tab's list file gets no trailing "/".
    ASSERT_TRUE(writeTabFile(app + "TabM3u.ini", {{"a", app + "lists/a.m3u"}}, app, true, false));
    EXPECT_EQ(testsupport::readFile(app + "TabM3u.ini"), "\"a\",\"./lists/a.m3u\"\r\n");
    ASSERT_TRUE(writeTabFile(app + "TabM3u.ini", {{"a", app + "lists/a.m3u"}}, app, false, false));
    EXPECT_EQ(readTabFile(app + "TabM3u.ini", app)->at(0).tag, app + "lists/a.m3u");
    EXPECT_FALSE(readTabFile(app + "missing.ini", app).has_value());
}
