#include "platform/text_file.h"

#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/resource.h>

using namespace platform;
using testsupport::readFile;
using testsupport::writeFile;

TEST(TextFile, SplitsAtCrLfLfAndLoneCr)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(splitLines("last line without end"), (QStringList{"last line without end"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(splitLines("").isEmpty());
}

TEST(TextFile, DecodesUtf8AndFallsBackToCp932)
{
    EXPECT_EQ(decodeText(QString::fromUtf8("お気に入り").toUtf8()), QString::fromUtf8("お気に入り"));
    // "テスト" in Shift-JIS is not valid UTF-8.
    EXPECT_EQ(decodeText(QByteArray("\x83\x65\x83\x58\x83\x67")), QString::fromUtf8("テスト"));
    // A Windows path with a Japanese folder, as an old list file holds it.
    EXPECT_EQ(decodeText(QByteArray("E:\\\x93\xae\x89\xe6\\a.avi")), QString::fromUtf8("E:\\動画\\a.avi"));
    EXPECT_EQ(decodeText(QByteArray("\xEF\xBB\xBFplain")), QString("plain"));
}

TEST(TextFile, EachLineIsDecodedOnItsOwn)
{
    // UTF-8 lines with one CP932 line among them: every line keeps its text.
    const QByteArray sjisLine("/m/\x83\x65\x83\x58\x83\x67.avi"); // "/m/テスト.avi"
    const QByteArray bytes = QString::fromUtf8("/m/動画/a.avi\r\n").toUtf8() + sjisLine + "\r\n"
                             + QString::fromUtf8("/m/お気に入り.avi\n").toUtf8();
    EXPECT_EQ(splitLines(decodeText(bytes)),
              (QStringList{QString::fromUtf8("/m/動画/a.avi"), QString::fromUtf8("/m/テスト.avi"),
                           QString::fromUtf8("/m/お気に入り.avi")}));
    // A wholly CP932 file with several lines reads as before, line ends included.
    EXPECT_EQ(decodeText(QByteArray("\x83\x65\r\n\x83\x58\r\x83\x67\n")), QString::fromUtf8("テ\r\nス\rト\n"));
    // A byte-order mark before a mixed file is dropped.
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + QString::fromUtf8("動画").toUtf8() + "\n\x83\x65"), QString::fromUtf8("動画\nテ"));
}

TEST(TextFile, WritesUtf8WithCrLfAndReadsBack)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("list.m3u");
    const QStringList lines{QString::fromUtf8("/動画/a.avi"), "", "/b,c.avi"};
    ASSERT_TRUE(writeTextLines(p, lines));
    EXPECT_EQ(readFile(p), QString::fromUtf8("/動画/a.avi\r\n\r\n/b,c.avi\r\n").toUtf8());
    EXPECT_EQ(readTextLines(p), lines);
}

TEST(TextFile, MissingFileIsNotAnEmptyFile)
{
    QTemporaryDir dir;
    EXPECT_FALSE(readTextLines(dir.filePath("missing")).has_value());
    writeFile(dir.filePath("empty"), "");
    ASSERT_TRUE(readTextLines(dir.filePath("empty")).has_value());
    EXPECT_TRUE(readTextLines(dir.filePath("empty"))->isEmpty());
}

TEST(TextFile, OnlyRegularFilesAreRead)
{
    // A named pipe would block the read until a writer comes, /dev/zero would never end.
    QTemporaryDir dir;
    const QString pipe = dir.filePath("list.ram");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    EXPECT_FALSE(readFileBytes(pipe).has_value());
    EXPECT_FALSE(readTextLines(pipe).has_value());
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.ini")));
    EXPECT_FALSE(readFileBytes(dir.filePath("zero.ini")).has_value());
    EXPECT_FALSE(readFileBytes(dir.path()).has_value());
    writeFile(dir.filePath("real.ini"), "a\r\n");
    ASSERT_TRUE(QFile::link(dir.filePath("real.ini"), dir.filePath("link.ini")));
    EXPECT_EQ(readFileBytes(dir.filePath("link.ini")), QByteArray("a\r\n"));
}

TEST(TextFile, AtomicWriteReplacesWholeFileAndLeavesNoTemporaryBehind)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("okini.ini");
    writeFile(p, "a much longer old content\r\n");
    ASSERT_TRUE(writeTextLines(p, {"x"}));
    EXPECT_EQ(readFile(p), QByteArray("x\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"okini.ini"});
}

TEST(TextFile, FailingWriteLeavesOldFileIntact)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("config.ini");
    writeFile(p, "[other]\r\nkept=1\r\n");

    // A file-size limit makes the write fail part-way, as a full disk would.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto *oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = writeFileAtomically(p, QByteArray(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(readFile(p), QByteArray("[other]\r\nkept=1\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.ini"});
}

TEST(TextFile, WriteIntoMissingFolderFails)
{
    QTemporaryDir dir;
    EXPECT_FALSE(writeTextLines(dir.filePath("no/such/folder/x.ini"), {"a"}));
}
