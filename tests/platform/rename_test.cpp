// Renaming a file without ever replacing another, and existence with links not followed.
#include "platform/file_system.h"

#include "support/test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::RenameResult;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

struct RenameCase
{
    const char *name;
    RenameResult (*rename)(const QString &, const QString &);
};

class Rename : public ::testing::TestWithParam<RenameCase>
{
protected:
    QTemporaryDir dir;
    QString at(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    RenameResult rename(const QString &from, const QString &to) const { return GetParam().rename(from, to); }
};

} // namespace

TEST_P(Rename, MovesTheFileToAFreeName)
{
    writeFile(at("a.avi"), "A");
    EXPECT_EQ(rename(at("a.avi"), at("b.avi")), RenameResult::Renamed);
    EXPECT_FALSE(QFile::exists(at("a.avi")));
    EXPECT_EQ(readFile(at("b.avi")), "A");
}

TEST_P(Rename, NeverReplacesAFileOrADanglingLink)
{
    writeFile(at("a.avi"), "A");
    writeFile(at("b.avi"), "B");
    EXPECT_EQ(rename(at("a.avi"), at("b.avi")), RenameResult::Exists);
    EXPECT_EQ(readFile(at("a.avi")), "A");
    EXPECT_EQ(readFile(at("b.avi")), "B");

    ASSERT_TRUE(QFile::link(at("gone.avi"), at("link.avi")));
    EXPECT_TRUE(platform::pathExists(at("link.avi")));
    EXPECT_FALSE(QFile::exists(at("link.avi"))) << "a dangling link: followed, it names nothing";
    EXPECT_EQ(rename(at("a.avi"), at("link.avi")), RenameResult::Exists);
    EXPECT_EQ(readFile(at("a.avi")), "A");
    EXPECT_TRUE(QFileInfo(at("link.avi")).isSymLink());
}

TEST_P(Rename, AMissingSourceFails)
{
    EXPECT_EQ(rename(at("none.avi"), at("b.avi")), RenameResult::Failed);
    EXPECT_FALSE(platform::pathExists(at("b.avi")));
}

INSTANTIATE_TEST_SUITE_P(BothWays, Rename,
                         ::testing::Values(RenameCase{"NoReplace", platform::renameNoReplace},
                                           RenameCase{"ByLink", platform::renameByLink}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PathExists, EmptyAndMissingPathsDoNotExist)
{
    QTemporaryDir dir;
    EXPECT_FALSE(platform::pathExists(QString()));
    EXPECT_FALSE(platform::pathExists(dir.filePath("x")));
    EXPECT_TRUE(platform::pathExists(dir.path()));
}
