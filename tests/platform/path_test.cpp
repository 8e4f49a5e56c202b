#include "lists/extensions.h"
#include "platform/path.h"

#include "support/test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

using namespace path;

TEST(PathSplit, FolderTitleAndExtension)
{
    EXPECT_EQ(getfiletitle("/m/a.b.avi"), "a.b");
    EXPECT_EQ(getextension("/m/a.b.avi"), "avi");
    EXPECT_EQ(getextension("/m/readme"), "readme");
    EXPECT_EQ(getfiletitle("/m/readme"), "readme");
    EXPECT_EQ(getextension("/m.d/readme"), "readme"); // a dot in a folder name does not count
    EXPECT_EQ(getfiletitle("a.avi"), "a");
    EXPECT_EQ(getdirectory("/m/sub/a.avi"), "/m/sub");
    EXPECT_EQ(getdirectory("a.avi"), "");
    EXPECT_EQ(getdirectory("/a.avi"), "");
}

TEST(PathSplit, TrailingSlash)
{
    EXPECT_EQ(addbackslash(""), "/");
    EXPECT_EQ(addbackslash("/m"), "/m/");
    EXPECT_EQ(addbackslash("/m/"), "/m/");
    EXPECT_EQ(removebackslash("/m//"), "/m/"); // only one is removed
    EXPECT_EQ(removebackslash("/m"), "/m");
}

TEST(CheckPath, MissingShortAndLongPaths)
{
    QTemporaryDir dir;
    EXPECT_EQ(checkpath(""), -1);
    EXPECT_EQ(checkpath(dir.filePath("missing")), -1);
    EXPECT_EQ(checkpath(dir.path()), 0);
    EXPECT_EQ(checkpath(dir.path() + "/"), 0);
    EXPECT_EQ(checkpath("/"), 47); // the root, like a drive root, gives its first character
    EXPECT_EQ(checkpath("/tm"), -1);
}

// The folders of one tree: <tmp>/x/m with sub-folder sub, and <tmp>/x/m2.
class RelativePaths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        x = tmp.path() + "/x";
        QDir().mkpath(x + "/m/sub");
        QDir().mkpath(x + "/m2");
    }
    QTemporaryDir tmp;
    QString x;
};

TEST_F(RelativePaths, ParentFolder)
{
    EXPECT_EQ(getparentdir(x + "/m/sub"), x + "/m/");
    EXPECT_EQ(getparentdir(x + "/m/sub/"), x + "/m/");
    EXPECT_EQ(getparentdir(x + "/missing"), "");
    EXPECT_EQ(getparentdir("/"), "");
    EXPECT_EQ(getparentdir(""), "");
}

TEST_F(RelativePaths, InsideTheBaseFolder)
{
    EXPECT_EQ(getrelativepath(x + "/m/x.avi", x + "/m"), "./x.avi");
    EXPECT_EQ(getrelativepath(x + "/m/x.avi", x + "/m/"), "./x.avi");
    EXPECT_EQ(getrelativepath(x + "/m/clips/x.avi", x + "/m"), "./clips/x.avi");
    EXPECT_EQ(getrelativepath(x + "/m", x + "/m"), "./");
    EXPECT_EQ(getabsolutepath("./", x + "/m"), x + "/m/");
    EXPECT_EQ(getabsolutepath("./x.avi", x + "/m"), x + "/m/x.avi");
}

TEST_F(RelativePaths, UnderTheParentFolder)
{
    EXPECT_EQ(getrelativepath(x + "/m/y.avi", x + "/m/sub"), "../y.avi");
    EXPECT_EQ(getabsolutepath("../y.avi", x + "/m/sub"), x + "/m/y.avi");
    // The base no longer exists: no parent can be found.
    EXPECT_EQ(getrelativepath(x + "/m/y.avi", x + "/m/gone"), x + "/m/y.avi");
    EXPECT_EQ(getabsolutepath("../a.avi", x + "/m/gone"), "a.avi");
}

TEST_F(RelativePaths, OtherFoldersStayAbsolute)
{
    // m2 is not inside the folder m: against m it lies under the parent, and against
    // m/sub it is out of reach (two levels up).
    EXPECT_EQ(getrelativepath(x + "/m2/a.avi", x + "/m"), "../m2/a.avi");
    EXPECT_EQ(getrelativepath(x + "/m2/a.avi", x + "/m/sub"), x + "/m2/a.avi");
    EXPECT_EQ(getrelativepath("/other/tree/a.avi", x + "/m"), "/other/tree/a.avi");
    // Already relative.
    EXPECT_EQ(getrelativepath("./a.avi", x + "/m"), "./a.avi");
}

TEST_F(RelativePaths, LetterCaseIsAnotherFolder)
{
    QDir().mkpath(x + "/Lists");
    // With base .../Lists an entry in .../lists/ is another folder: written as ./x.avi it
    // would resolve to .../Lists/x.avi and be dropped at the next load.
    EXPECT_EQ(getrelativepath(x + "/lists/x.avi", x + "/Lists"), "../lists/x.avi");
    EXPECT_EQ(getabsolutepath("../lists/x.avi", x + "/Lists"), x + "/lists/x.avi");
    EXPECT_EQ(getrelativepath(x + "/M/y.avi", x + "/m/sub"), x + "/M/y.avi");
}

TEST_F(RelativePaths, RootAsBase)
{
    EXPECT_EQ(getrelativepath("/srv/a.avi", "/"), "./srv/a.avi");
    EXPECT_EQ(getabsolutepath("./srv/a.avi", "/"), "/srv/a.avi");
}

TEST_F(RelativePaths, OddRelativeFormsResolveToNothing)
{
    EXPECT_EQ(getabsolutepath(".", x), "");
    EXPECT_EQ(getabsolutepath("..", x), "");
    EXPECT_EQ(getabsolutepath(".hidden/a.avi", x), "");
    EXPECT_EQ(getabsolutepath("/abs/a.avi", x), "/abs/a.avi");
    EXPECT_EQ(getabsolutepath("#EXTM3U", x), "#EXTM3U");
}

TEST_F(RelativePaths, ConversionsAreInverse)
{
    for (const QString &p : {x + "/m/a.avi", x + "/m/sub/b.avi", x + "/c.avi", x + "/m2/d.avi"}) {
        const QString rel = getrelativepath(p, x + "/m");
        EXPECT_EQ(getabsolutepath(rel, x + "/m"), p) << rel.toStdString();
    }
}

TEST(Extensions, MediaAndThumbnailExtensions)
{
    for (const char *e : {"avi", "AVI", "mpg", "asf", "wmv", "Mpeg", "mov", "rm", "RAM", "dat"})
        EXPECT_TRUE(check_kakuchousi(e)) << e;
    for (const char *e : {"ra", "rmvb", "m3u", "", "avi ", "mp3"})
        EXPECT_FALSE(check_kakuchousi(e)) << e;
    EXPECT_TRUE(can_make_thumbnail("AVI"));
    EXPECT_TRUE(can_make_thumbnail("mpeg"));
}
