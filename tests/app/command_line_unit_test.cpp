// What a start's command line asks for: the player, or the version or the usage.
#include "app/command_line.h"

#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CommandLineRequest, VersionAndHelpAloneAreAnsweredWithoutAWindow)
{
    QTemporaryDir work;
    EXPECT_EQ(commandLineRequest({"--version"}, work.path()), CommandLineRequest::Version);
    EXPECT_EQ(commandLineRequest({"--help"}, work.path()), CommandLineRequest::Help);
    EXPECT_EQ(versionText("1.2.3"), "Plovana 1.2.3\n");
    EXPECT_TRUE(usageText().startsWith("Usage: plovana [FILE]\n"));
    EXPECT_TRUE(usageText().contains("--version"));
}

TEST(CommandLineRequest, EverythingElseKeepsTheJoinedPathRule)
{
    QTemporaryDir work;
    for (const QStringList &args : {QStringList{}, QStringList{"clip.avi"}, QStringList{"--version", "x"},
                                    QStringList{"my", "--help"}, QStringList{"-h"}, QStringList{"-v"},
                                    QStringList{"--HELP"}, QStringList{"\"--help\""}, QStringList{"--help "}})
        EXPECT_EQ(commandLineRequest(args, work.path()), CommandLineRequest::Start) << args.join(u'|').toStdString();
    // "--version x" is still one path with a space, as before.
    testsupport::writeFile(work.filePath("--version x"), "v");
    EXPECT_EQ(commandLineFile({"--version", "x"}, work.path()), work.filePath("--version x"));
}

TEST(CommandLineRequest, AFileOfThatNameInTheWorkingDirectoryIsAFile)
{
    QTemporaryDir work;
    testsupport::writeFile(work.filePath("--help"), "a file");
    EXPECT_EQ(commandLineRequest({"--help"}, work.path()), CommandLineRequest::Start);
    EXPECT_EQ(commandLineFile({"--help"}, work.path()), work.filePath("--help"));
    EXPECT_EQ(commandLineRequest({"--version"}, work.path()), CommandLineRequest::Version)
        << "only the name that exists is a file";

    QTemporaryDir other;
    QDir(other.path()).mkdir("--version");
    EXPECT_EQ(commandLineRequest({"--version"}, other.path()), CommandLineRequest::Version)
        << "a folder of that name opens nothing, so the version is printed";
}
