#include "platform/profile.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;
using testsupport::readFile;
using testsupport::writeFile;

TEST(Profile, NamesAreCaseInsensitiveAndValuesTrimmed)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    writeFile(f, "[Directory]\r\n LastDir =  /home/u/movies  \r\n[other]\r\nPlayMode=2\r\n");
    EXPECT_EQ(getPrivateProfileString("directory", "lastdir", "", f), "/home/u/movies");
    EXPECT_EQ(getPrivateProfileInt("OTHER", "playmode", 0, f), 2);
    // A key of another section is not found.
    EXPECT_EQ(getPrivateProfileString("other", "LastDir", "def", f), "def");
    EXPECT_EQ(getPrivateProfileInt("directory", "missing", 7, f), 7);
    EXPECT_EQ(getPrivateProfileInt("directory", "missing", 0, dir.filePath("no.ini")), 0);
}

TEST(Profile, IntegersAreOptionalMinusAndLeadingDigits)
{
    EXPECT_EQ(parseProfileInt("-1"), -1);
    EXPECT_EQ(parseProfileInt("100.75"), 100);
    EXPECT_EQ(parseProfileInt("12abc"), 12);
    EXPECT_EQ(parseProfileInt("abc"), 0);
    EXPECT_EQ(parseProfileInt(""), 0);
    EXPECT_EQ(parseProfileInt("-"), 0);
    EXPECT_EQ(parseProfileInt("40000"), 40000); // beyond 16 bits: a second monitor
    EXPECT_EQ(parseProfileInt("99999999999"), 2147483647);
    EXPECT_EQ(parseProfileInt("-99999999999"), -2147483647 - 1);
}

TEST(Profile, StringsAreCutTo255BytesWithoutSplittingACharacter)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    ASSERT_TRUE(writePrivateProfileString("directory", "homeDir", QString(300, 'a'), f));
    EXPECT_EQ(getPrivateProfileString("directory", "homeDir", "", f), QString(255, 'a'));
    const QString jp = QString::fromUtf8("動").repeated(100); // 300 bytes of UTF-8
    ASSERT_TRUE(writePrivateProfileString("directory", "homeDir", jp, f));
    EXPECT_EQ(getPrivateProfileString("directory", "homeDir", "", f), QString::fromUtf8("動").repeated(85));
}

TEST(Profile, EnclosingQuotesAreRemoved)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("x.ini");
    writeFile(f, "[s]\r\na=\"with spaces \"\r\nb='x'\r\nc=\"\r\n");
    EXPECT_EQ(getPrivateProfileString("s", "a", "", f), "with spaces ");
    EXPECT_EQ(getPrivateProfileString("s", "b", "", f), "x");
    EXPECT_EQ(getPrivateProfileString("s", "c", "", f), "\"");
}

TEST(Profile, WriteCreatesFileAndSectionsInOrder)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    ASSERT_TRUE(writePrivateProfileString("directory", "LastDir", "/m/", f));
    ASSERT_TRUE(writePrivateProfileString("Position", "Left", "1500", f));
    ASSERT_TRUE(writePrivateProfileString("directory", "ImageDir", "/i/", f));
    EXPECT_EQ(readFile(f), QByteArray("[directory]\r\nLastDir=/m/\r\nImageDir=/i/\r\n"
                                      "[Position]\r\nLeft=1500\r\n"));
}

TEST(Profile, WriteReplacesKeyAndKeepsEveryOtherLine)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    writeFile(f, "; my notes\r\n[option]\r\nResume=0\r\n# kept=yes\r\nSeekTop=1\r\n\r\n[other]\r\nx=1\r\n");
    ASSERT_TRUE(writePrivateProfileString("OPTION", "resume", "1", f));
    ASSERT_TRUE(writePrivateProfileString("option", "NoTaskBar", "0", f));
    EXPECT_EQ(readFile(f), QByteArray("; my notes\r\n[option]\r\nresume=1\r\n# kept=yes\r\nSeekTop=1\r\n"
                                      "NoTaskBar=0\r\n\r\n[other]\r\nx=1\r\n"));
}

TEST(Profile, AValueComesBackAsWrittenOrUpToItsLineBreak)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    // Blanks at either end (a folder named with a trailing space, an ideographic space)
    // and enclosing quotes would be lost to the read's trimming: such values are quoted.
    const QString ideographic = QString::fromUtf8("/home/u/動画\u3000");
    for (const QString &value : {QString("/home/u/movies "), QString(" lead"), ideographic, QString("'x'"),
                                 QString("\"q\""), QString("a\"b")}) {
        ASSERT_TRUE(writePrivateProfileString("directory", "LastDir", value, f));
        EXPECT_EQ(getPrivateProfileString("directory", "LastDir", "", f), value) << value.toStdString();
    }
    ASSERT_TRUE(writePrivateProfileString("directory", "LastDir", "/home/u/movies ", f));
    EXPECT_EQ(readFile(f), QByteArray("[directory]\r\nLastDir=\"/home/u/movies \"\r\n"));
    // A line break cannot stand in the line: the value goes up to it and adds no lines.
    ASSERT_TRUE(writePrivateProfileString("directory", "LastDir", "/a\r\n[other]\r\nvolume=0", f));
    EXPECT_EQ(readFile(f), QByteArray("[directory]\r\nLastDir=/a\r\n"));
    EXPECT_EQ(getPrivateProfileString("directory", "LastDir", "", f), "/a");
}

TEST(Profile, ReadsAFileWrittenOnWindows)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("config.ini");
    writeFile(f, QByteArray("[directory]\r\nhomeDir=E:\\\x93\xae\x89\xe6\\\r\n"));
    EXPECT_EQ(getPrivateProfileString("directory", "homeDir", "", f), QString::fromUtf8("E:\\動画\\"));
}
