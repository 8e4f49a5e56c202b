#include "lists/file_search.h"
#include "lists/item_rules.h"

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using filesearch::Found;
using filesearch::nameMatches;

TEST(SearchNameMatch, PartOfTheNameInAnyLetterCase)
{
    EXPECT_TRUE(nameMatches("x_abc_y.avi", "abc"));
    EXPECT_TRUE(nameMatches("ABC.mpg", "abc"));
    EXPECT_TRUE(nameMatches("abc.mpg", "ABC"));
    EXPECT_TRUE(nameMatches("äbc.avi", "ÄBC")); // beyond ASCII too
    EXPECT_TRUE(nameMatches("ÄBC.avi", "äbc"));
    EXPECT_FALSE(nameMatches("ab_c.avi", "abc"));
    EXPECT_TRUE(nameMatches("anything.avi", "")); // the empty text finds every name
}

TEST(SearchNameMatch, StarAndQuestionMarkStayWildcardsBracketsArePlain)
{
    EXPECT_TRUE(nameMatches("abc.avi", "a?c"));
    EXPECT_TRUE(nameMatches("a_c.avi", "a?c"));
    EXPECT_FALSE(nameMatches("ac.avi", "a?c")); // "?" is exactly one character
    EXPECT_TRUE(nameMatches("a long c.avi", "a*c"));
    EXPECT_TRUE(nameMatches("show [HD] 01.mkv", "[HD]"));
    EXPECT_TRUE(nameMatches("show [hd] 01.mkv", "[HD]"));
    EXPECT_FALSE(nameMatches("show H 01.mkv", "[HD]")); // no character set: the brackets must be there
    EXPECT_FALSE(nameMatches("show D.mkv", "[HD]"));
    EXPECT_TRUE(nameMatches("a[b.avi", "a[b"));
    EXPECT_TRUE(nameMatches("50%*.avi", "%*"));
}

TEST(DragToggleRows, FromReleaseTowardsPressPressRowLeftOut)
{
    EXPECT_EQ(items::dragToggleRows(5, 2, 10), (QList<int>{5, 4, 3}));
    EXPECT_EQ(items::dragToggleRows(2, 5, 10), (QList<int>{2, 3, 4}));
    EXPECT_EQ(items::dragToggleRows(3, 2, 10), (QList<int>{3}));
    EXPECT_TRUE(items::dragToggleRows(4, 4, 10).isEmpty());   // the same row
    EXPECT_TRUE(items::dragToggleRows(-1, 4, 10).isEmpty());  // released below the rows
    EXPECT_TRUE(items::dragToggleRows(10, 4, 10).isEmpty());  // past the last row
    EXPECT_TRUE(items::dragToggleRows(3, -1, 10).isEmpty());  // no current row
}

namespace {

class SearchTree : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString root() const { return dir.path() + u'/'; }
    QString make(const QString &rel)
    {
        return testsupport::writeFile(dir.path() + u'/' + rel, "");
    }
    void folder(const QString &rel) { QDir().mkpath(dir.path() + u'/' + rel); }
    QList<Found> search(const QString &text, int limit = filesearch::kFindSlots, const QString &from = {})
    {
        QList<Found> found;
        std::atomic<bool> cancel{false};
        const int n = filesearch::searchTree(from.isEmpty() ? root() : from, text, limit, cancel,
                                             [&](const Found &f) { found.append(f); });
        EXPECT_EQ(n, found.size());
        return found;
    }
    QStringList paths(const QList<Found> &found)
    {
        QStringList l;
        for (const Found &f : found)
            l.append(f.folder.mid(root().size()) + f.name);
        return l;
    }
};

} // namespace

TEST_F(SearchTree, MediaFilesWhoseNameHoldsTheText)
{
    make("x_abc_y.avi");
    make("ABC.mpg");
    make("abc.txt");          // not a media type
    folder("abc.avi");        // a folder, not a file
    make("abcavi");           // no extension
    make(".abc hidden.mkv");  // names beginning with "." count like others
    make("other.avi");
    EXPECT_EQ(paths(search("abc")), (QStringList{".abc hidden.mkv", "ABC.mpg", "x_abc_y.avi"}));
    const QList<Found> found = search("abc");
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(found.first().folder, root()); // folders carry a trailing "/"
}

TEST_F(SearchTree, RootFilesFirstThenDepthFirstInNameOrderIgnoringCase)
{
    make("b/z.avi");
    make("b/a.avi");
    make("B2/c/m.avi");
    make("B2/n.avi");
    make("a/x.avi");
    make("y.avi");
    make("C.avi");
    EXPECT_EQ(paths(search("")),
              (QStringList{"C.avi", "y.avi", "a/x.avi", "b/a.avi", "b/z.avi", "B2/n.avi", "B2/c/m.avi"}));
}

TEST_F(SearchTree, StopsAtExactlyTheLimitAndEntersNoFurtherFolder)
{
    for (int i = 0; i < 300; ++i)
        make(QStringLiteral("a/clip%1.avi").arg(i, 3, 10, QChar(u'0')));
    for (int i = 0; i < 300; ++i)
        make(QStringLiteral("b/clip%1.avi").arg(i, 3, 10, QChar(u'0')));
    make("c/clip.avi");
    const QList<Found> found = search("clip");
    ASSERT_EQ(found.size(), 513);
    EXPECT_EQ(paths(found).first(), "a/clip000.avi");
    EXPECT_EQ(paths(found).last(), "b/clip212.avi");
    EXPECT_FALSE(paths(found).contains("c/clip.avi"));
}

TEST_F(SearchTree, LinksToFoldersAreNotFollowedLinksToFilesCount)
{
    make("a/clip.avi");
    make("real.avi");
    ASSERT_EQ(symlink(qPrintable(root()), qPrintable(root() + "a/loop")), 0); // a loop back to the root
    ASSERT_EQ(symlink(qPrintable(root() + "real.avi"), qPrintable(root() + "a/link.avi")), 0);
    ASSERT_EQ(symlink(qPrintable(root() + "gone.avi"), qPrintable(root() + "a/dangling.avi")), 0);
    EXPECT_EQ(paths(search("")), (QStringList{"real.avi", "a/clip.avi", "a/link.avi"}));
}

TEST_F(SearchTree, NamesThatAreNotUtf8AreSkipped)
{
    make("good.avi");
    const QByteArray bad = QFile::encodeName(root()) + "bad\xff.avi";
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(paths(search("")), (QStringList{"good.avi"}));
    ::unlink(bad.constData()); // the temporary folder could not remove it by its name
}

TEST_F(SearchTree, UnreadableFoldersAreSkipped)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    make("a/in.avi");
    make("b/out.avi");
    QFile::setPermissions(root() + "a", QFileDevice::Permissions{});
    EXPECT_EQ(paths(search("")), (QStringList{"b/out.avi"}));
    QFile::setPermissions(root() + "a", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(SearchTree, RootMustBeAnAbsoluteExistingFolder)
{
    make("a.avi");
    EXPECT_TRUE(search("", 513, "relative/").isEmpty());
    EXPECT_TRUE(search("", 513, root() + "missing/").isEmpty());
    EXPECT_TRUE(search("", 513, root() + "a.avi").isEmpty());
    EXPECT_EQ(search("", 513, dir.path()).size(), 1); // with or without the trailing "/"
}

TEST_F(SearchTree, CancelStopsTheWalk)
{
    for (int i = 0; i < 20; ++i)
        make(QStringLiteral("d%1/a.avi").arg(i));
    std::atomic<bool> cancel{false};
    int seen = 0;
    const int n = filesearch::searchTree(root(), "", 513, cancel, [&](const Found &) {
        if (++seen == 3)
            cancel = true;
    });
    EXPECT_EQ(n, 3);
}
