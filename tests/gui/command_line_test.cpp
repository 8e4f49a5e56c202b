// The real program's --version and --help: answered on standard output before any window,
// display or state folder.
#include "support/test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    bool normalExit = false;
    QString out, err;
};

// The program with no display at all: a start that needed one would fail.
Outcome runWithoutDisplay(const QStringList &arguments, const QString &stateDir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("PLOVANA_APPDIR", stateDir);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("PLOVANA_EXE"), arguments);
    Outcome r;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitCode();
    r.normalExit = p.exitStatus() == QProcess::NormalExit;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

TEST(ProgramCommandLine, VersionAndHelpArePrintedWithoutADisplayOrAStateFolder)
{
    QTemporaryDir base;
    const QString state = base.filePath("state");

    const Outcome version = runWithoutDisplay({"--version"}, state);
    EXPECT_TRUE(version.normalExit);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("Plovana " PLOVANA_PROJECT_VERSION "\n"));
    EXPECT_EQ(version.err, "");

    const Outcome help = runWithoutDisplay({"--help"}, state);
    EXPECT_TRUE(help.normalExit);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: plovana [FILE]\n")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--version"));
    EXPECT_EQ(help.err, "");

    EXPECT_FALSE(QDir(state).exists()) << "no state folder is made for an answer";

    // Anything else starts the program, which here finds no display.
    const Outcome start = runWithoutDisplay({"--version", "2"}, state);
    EXPECT_FALSE(start.normalExit && start.exitCode == 0);
    EXPECT_FALSE(start.out.contains("Plovana " PLOVANA_PROJECT_VERSION));
}
