#include "dialogs/file_dialogs.h"

#include "fakes/fake_dialogs.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
FileDialogRequest m3uRequest()
{
    FileDialogRequest r;
    r.defaultExt = ".m3u";
    r.filter = "m3u(*.m3u)|*.m3u";
    r.filterIndex = 1;
    r.flags = 4;
    r.initialDir = "/home/u/";
    return r;
}
} // namespace

TEST(FileDialogs, RequestFieldsAreNormalised)
{
    FileDialogRequest r = m3uRequest();
    FileDialogOptions options = fileDialogOptions(r, true);
    EXPECT_TRUE(options.save);
    EXPECT_EQ(options.defaultExt, "m3u");
    EXPECT_EQ(options.title, QString::fromUtf8("ファイルを開く"));
    EXPECT_EQ(options.filterNames, QStringList{"m3u(*.m3u)"});
    EXPECT_EQ(options.filterPatterns, QStringList{"*.m3u"});
    EXPECT_EQ(options.filterIndex, 1);
    EXPECT_EQ(options.initialDir, "/home/u/");
    // The index counts the pieces: beyond them (or 0 and below) the dialog gets 0.
    r.filterIndex = 3;
    EXPECT_EQ(fileDialogOptions(r, false).filterIndex, 0);
    r.filterIndex = 2;
    EXPECT_EQ(fileDialogOptions(r, false).filterIndex, 2);
    r.filterIndex = -1;
    EXPECT_EQ(fileDialogOptions(r, false).filterIndex, 0);
    r.filter = "m3u(*.m3u)|*.m3u|all|*";
    r.title = "m3uファイルに保存";
    options = fileDialogOptions(r, false);
    EXPECT_EQ(options.filterNames, (QStringList{"m3u(*.m3u)", "all"}));
    EXPECT_EQ(options.title, QString::fromUtf8("m3uファイルに保存"));
}

TEST(FileDialogs, ResultFillsPathFolderAndTitle)
{
    fakes::FakeDialogs d;
    FileDialogRequest r = m3uRequest();
    d.files.push_back(QString::fromUtf8("/home/u/リスト/a.m3u"));
    ASSERT_TRUE(showSaveFileDialog(d, nullptr, r));
    EXPECT_EQ(r.fullPath, QString::fromUtf8("/home/u/リスト/a.m3u"));
    EXPECT_EQ(r.directory, QString::fromUtf8("/home/u/リスト/"));
    EXPECT_EQ(r.fileTitle, "a.m3u");
    EXPECT_EQ(r.maxLength, 260);
    ASSERT_EQ(d.asked.size(), 1);
    EXPECT_TRUE(d.asked.first().options.save);

    // Cancelling clears the results of the last time.
    EXPECT_FALSE(showOpenFileDialog(d, nullptr, r));
    EXPECT_TRUE(r.fullPath.isEmpty());
    EXPECT_TRUE(r.directory.isEmpty());
    EXPECT_TRUE(r.fileTitle.isEmpty());
    EXPECT_FALSE(d.asked.last().options.save);
}

TEST(FileDialogs, MaxLengthOutsideItsRangeBecomes260)
{
    fakes::FakeDialogs d;
    for (int given : {0, -5, 40000}) {
        FileDialogRequest r = m3uRequest();
        r.maxLength = given;
        showOpenFileDialog(d, nullptr, r);
        EXPECT_EQ(r.maxLength, 260) << given;
    }
    FileDialogRequest r = m3uRequest();
    r.maxLength = 1000;
    showOpenFileDialog(d, nullptr, r);
    EXPECT_EQ(r.maxLength, 1000);
}

TEST(FileDialogs, FolderBrowsers)
{
    fakes::FakeDialogs d;
    QTemporaryDir dir;
    d.folders.push_back(dir.path());
    EXPECT_EQ(browseForFolderWithCallback(d, nullptr, "title", "/start/here", 16), dir.path());
    EXPECT_EQ(d.asked.last().initial, "/start/here");
    EXPECT_EQ(browseInitialPath, "/start/here");
    EXPECT_EQ(browseForFolderWithCallback(d, nullptr, "title", "/start/here", 16), "") << "cancelled";

    // Rooted at an existing folder; else at the home folder.
    browseForFolderFromRoot(d, nullptr, QString::fromUtf8("フォルダを選択してね"), dir.path());
    EXPECT_EQ(d.asked.last().initial, dir.path());
    browseForFolderFromRoot(d, nullptr, QString::fromUtf8("フォルダを選択してね"), dir.filePath("gone"));
    EXPECT_EQ(d.asked.last().initial, QDir::homePath());
    EXPECT_EQ(d.asked.last().title, QString::fromUtf8("フォルダを選択してね"));
}

TEST(FileDialogs, TrimAtNul)
{
    EXPECT_EQ(trimAtNul(QString("abc") + QChar(0) + "junk"), "abc");
    EXPECT_EQ(trimAtNul("abc"), "abc");
    EXPECT_EQ(trimAtNul(QString(QChar(0))), "");
}
