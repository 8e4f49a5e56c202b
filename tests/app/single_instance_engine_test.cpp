// Two real copies of the program on one state folder.
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QProcessEnvironment programEnvironment(const QString &appDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PLOVANA_APPDIR", appDir);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PLOVANA_MIXER", "none");
    env.insert("PLOVANA_MPV_AO", "null");
    return env;
}

} // namespace

TEST(SingleInstance, SecondCopyEndsAtOnceAndLeavesTheFirstAlone)
{
    QTemporaryDir state;
    QProcess first;
    first.setProcessEnvironment(programEnvironment(state.path()));
    first.start(qEnvironmentVariable("PLOVANA_EXE"), {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // Start-up has run once the data folders exist, and the first list load has ended once
    // it has turned the thumbnail view on, which keeps the (empty) favourites in okini.ini.
    ASSERT_TRUE(testsupport::waitFor(
        [&] { return QFileInfo::exists(state.filePath("seen")) && QFileInfo::exists(state.filePath("okini.ini")); },
        10000));
    const QStringList before = QDir(state.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    QProcess second;
    second.setProcessEnvironment(programEnvironment(state.path()));
    second.start(qEnvironmentVariable("PLOVANA_EXE"), {testsupport::clip("clip.avi")});
    ASSERT_TRUE(second.waitForFinished(5000)) << "the second copy must end at once";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(QDir(state.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before)
        << "the second copy wrote nothing";

    // The first copy ends on SIGTERM through its own shutdown.
    testsupport::signalProcess(first, SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);

    // With the first copy gone, a new one starts normally.
    QProcess third;
    third.setProcessEnvironment(programEnvironment(state.path()));
    third.start(qEnvironmentVariable("PLOVANA_EXE"), {});
    ASSERT_TRUE(third.waitForStarted(5000));
    EXPECT_FALSE(third.waitForFinished(1500)) << "the lock of the first copy was released";
    testsupport::signalProcess(third, SIGTERM);
    third.waitForFinished(10000);
}
