#include "app/command_line.h"
#include "widgets/config_format.h"

#include "support/test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

TEST(ConfigFormat, SinglePrecisionTextWithoutPointWhenWhole)
{
    EXPECT_EQ(formatSingle(1500), "1500");
    EXPECT_EQ(formatSingle(-1), "-1");
    EXPECT_EQ(formatSingle(0), "0");
    EXPECT_EQ(formatSingle(40005), "40005");
    EXPECT_EQ(formatSingle(1234.5), "1234.5");
    EXPECT_EQ(formatSingle(0.25), "0.25");
}

TEST(CommandLine, ArgumentsAreJoinedBeforeTheStepsAndMadeAbsoluteAfter)
{
    EXPECT_EQ(commandLineText({"/m/a.avi", "/m/b.avi"}), "/m/a.avi /m/b.avi");
    EXPECT_EQ(commandLineText({}), "");
    EXPECT_EQ(absoluteAgainst("sub/x.avi", "/w"), "/w/sub/x.avi");
    EXPECT_EQ(absoluteAgainst("../x.avi", "/w/d"), "/w/x.avi");
    EXPECT_EQ(absoluteAgainst("/m/a b.avi", "/w"), "/m/a b.avi");
    EXPECT_EQ(absoluteAgainst("", "/w"), "");

    QTemporaryDir work;
    const QString spaced = testsupport::writeFile(work.filePath("my dir/clip one.avi"), "");
    const QString clip = testsupport::writeFile(work.filePath("clips/x.avi"), "");
    // An unquoted path with spaces comes as several arguments: together they name the file.
    EXPECT_EQ(commandLineFile({work.filePath("my"), "dir/clip", "one.avi"}, "/elsewhere"), spaced);
    EXPECT_EQ(commandLineFile({"my", "dir/clip", "one.avi"}, work.path()), spaced);
    EXPECT_EQ(commandLineFile({"../clips/x.avi"}, work.filePath("my dir")), clip);
    EXPECT_EQ(commandLineFile({'"' + spaced + '"'}, "/elsewhere"), spaced);
    EXPECT_EQ(commandLineFile({"\"my dir/clip one.avi\""}, work.path()), spaced);
    EXPECT_EQ(commandLineFile({}, work.path()), "");
}

TEST(CommandLine, QuotesAndTheFirstExistingPath)
{
    EXPECT_EQ(unquoteCommandLine("\"/m/a b.avi\"", "/w"), "/m/a b.avi");
    QTemporaryDir dir;
    const QString a = testsupport::writeFile(dir.filePath("a.avi"), "");
    const QString b = testsupport::writeFile(dir.filePath("b.avi"), "");
    // Of several quoted paths the first existing one is taken.
    const QString text = a + "\" \"" + b;
    EXPECT_EQ(firstExistingPath(text, isExistingFile), a);
    EXPECT_EQ(firstExistingPath(dir.filePath("gone.avi") + "\" \"" + b, isExistingFile),
              dir.filePath("gone.avi") + "\" \"" + b);
    // A quote is a legal character in a Linux file name.
    const QString q = testsupport::writeFile(dir.filePath("say \"hi\".avi"), "");
    EXPECT_EQ(firstExistingPath(q, isExistingFile), q);
    EXPECT_TRUE(isExistingFile(q));
    EXPECT_FALSE(isExistingFile(dir.path()));
    EXPECT_FALSE(isExistingFile(testsupport::writeFile(dir.filePath(".hidden.avi"), "")));
}

TEST(CommandLine, MediaExtensionFromTheEnd)
{
    EXPECT_EQ(mediaFileName("/m/a.b.AVI"), "/m/a.b.AVI");
    EXPECT_EQ(mediaFileName("/m/notes.txt"), "");
    EXPECT_EQ(mediaFileName("/m/clip.ra"), "") << "ra is played but not accepted here";
    EXPECT_EQ(mediaFileName("/m/noext"), "");
}
