// The association boxes on 関連付け against mimeapps.list and the desktop entry, in the
// test's own XDG folders; then the desktop's own tools reading what they wrote.
#include "support/player_fixture.h"

#include "app/associations.h"
#include "app/options_page.h"
#include "app/shell_associations.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <sys/stat.h>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

// Another player's lines, which no box may change.
const QByteArray kForeign = "# my associations\n"
                            "[Added Associations]\n"
                            "video/x-msvideo=vlc.desktop;\n"
                            "video/mp4=vlc.desktop;mpv.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "video/x-msvideo=vlc.desktop;\n"
                            "text/plain=org.gnome.TextEditor.desktop;\n";

enum Ext { Mpg, Mpeg, Avi, Asf, Wmv, Mov, Rm, Ram };

} // namespace

class Associations : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        // A program that exists: xdg-mime takes only entries whose program is there.
        program = work("bin/plovana-stub");
        writeFile(program, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ShellAssociations &a() { return *player->options()->associations(); }
    QCheckBox *kanren(int i) { return a().Check_kanren()[std::size_t(i)]; }
    QCheckBox *defaultOf(int ext) { return a().Check_default()[std::size_t(ShellAssociations::pairedIndex(ext))]; }
    QString listFile() const { return xdgConfig() + QStringLiteral("/mimeapps.list"); }
    QByteArray list() const { return readFile(listFile()); }
    QString userEntry() const { return xdgData() + QStringLiteral("/applications/plovana.desktop"); }
    QStringList listed(const char *group, const char *type) const
    {
        return associations::listedIds(list(), group, QString::fromLatin1(type));
    }
};

TEST_F(Associations, BoxesCaptionedByExtension)
{
    start();
    const QStringList captions{"mpg", "mpeg", "avi", "asf", "wmv", "mov", "rm", "ram"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(kanren(i)->text(), captions[i]);
    QStringList defaults;
    for (QCheckBox *c : a().Check_default())
        defaults.append(c->text());
    EXPECT_EQ(defaults, (QStringList{"mpg", "mpeg", "avi", "asf", "wmv", "mov", "ram", "rm"}));
    EXPECT_EQ(a().BtDeleteAll()->text(), QString::fromUtf8("関連付け全解除"));
    // Nothing listed: every default box waits for its association.
    for (QCheckBox *c : a().Check_default())
        EXPECT_FALSE(c->isEnabled()) << c->text().toStdString();
}

// avi on, as default, default off, avi off: only the program's id comes and goes, the other
// player's lines keep every byte, and the program's own desktop entry names it.
TEST_F(Associations, AviOnAndOffAroundAnotherPlayersLines)
{
    writeFile(listFile(), kForeign);
    start();
    kanren(Avi)->click();
    EXPECT_EQ(list(), QByteArray(kForeign).replace("video/x-msvideo=vlc.desktop;\nvideo/mp4",
                                                   "video/x-msvideo=vlc.desktop;plovana.desktop;\nvideo/mp4"));
    EXPECT_TRUE(defaultOf(Avi)->isEnabled());
    EXPECT_EQ(readFile(userEntry()), associations::desktopEntryText(program));

    defaultOf(Avi)->click();
    EXPECT_EQ(listed(associations::group::defaults, "video/x-msvideo"), (QStringList{"plovana.desktop", "vlc.desktop"}));
    defaultOf(Avi)->click(); // "Open": only the program's id goes
    EXPECT_EQ(listed(associations::group::defaults, "video/x-msvideo"), QStringList{"vlc.desktop"});

    defaultOf(Avi)->click();
    kanren(Avi)->click();
    EXPECT_EQ(list(), kForeign);
    EXPECT_FALSE(defaultOf(Avi)->isEnabled());
    EXPECT_FALSE(defaultOf(Avi)->isChecked());
}

// An id of ours the user had taken out ([Removed Associations]) is taken back by the box;
// a missing file and its folder are made.
TEST_F(Associations, CheckingUndoesAnEarlierRemovalAndMakesTheFile)
{
    start();
    kanren(Mov)->click();
    EXPECT_EQ(list(), "[Added Associations]\nvideo/quicktime=plovana.desktop;\n");
    close();
    writeFile(listFile(), "[Removed Associations]\nvideo/quicktime=plovana.desktop;\nvideo/mp4=plovana.desktop;\n");
    start();
    kanren(Mov)->click();
    EXPECT_EQ(list(), "[Removed Associations]\nvideo/mp4=plovana.desktop;\n\n"
                      "[Added Associations]\nvideo/quicktime=plovana.desktop;\n");
}

// The default boxes of rm and ram stand at 7 and 6; each follows its own extension's box.
TEST_F(Associations, RmAndRamDefaultBoxesFollowTheirOwnExtension)
{
    start();
    kanren(Rm)->click();
    EXPECT_TRUE(a().Check_default()[7]->isEnabled());
    EXPECT_FALSE(a().Check_default()[6]->isEnabled());
    a().Check_default()[7]->click();
    EXPECT_EQ(listed(associations::group::defaults, "application/vnd.rn-realmedia"), QStringList{"plovana.desktop"});
    EXPECT_TRUE(listed(associations::group::defaults, "application/ram").isEmpty());
    kanren(Ram)->click();
    EXPECT_TRUE(a().Check_default()[6]->isEnabled());
    a().Check_default()[6]->click();
    EXPECT_EQ(listed(associations::group::defaults, "application/ram"), QStringList{"plovana.desktop"});
    kanren(Rm)->click();
    EXPECT_FALSE(a().Check_default()[7]->isChecked());
    EXPECT_TRUE(listed(associations::group::defaults, "application/vnd.rn-realmedia").isEmpty());
    EXPECT_EQ(listed(associations::group::defaults, "application/ram"), QStringList{"plovana.desktop"});
}

// mpg and mpeg are one type: unchecking either takes it for both, and after a restart both
// boxes tell the same.
TEST_F(Associations, MpgAndMpegShareTheirType)
{
    start();
    kanren(Mpg)->click();
    kanren(Mpeg)->click();
    EXPECT_EQ(listed(associations::group::added, "video/mpeg"), QStringList{"plovana.desktop"});
    kanren(Mpeg)->click();
    EXPECT_TRUE(listed(associations::group::added, "video/mpeg").isEmpty());
    restart();
    EXPECT_FALSE(kanren(Mpg)->isChecked());
    EXPECT_FALSE(kanren(Mpeg)->isChecked());
    kanren(Mpeg)->click();
    restart();
    EXPECT_TRUE(kanren(Mpg)->isChecked());
    EXPECT_TRUE(kanren(Mpeg)->isChecked());
}

// A restart reads the boxes back and writes nothing.
TEST_F(Associations, RestartReadsTheBoxesAndWritesNothing)
{
    writeFile(listFile(), kForeign);
    start();
    kanren(Avi)->click();
    defaultOf(Avi)->click();
    kanren(Wmv)->click();
    const QByteArray written = list();
    restart();
    EXPECT_EQ(list(), written);
    for (int i = 0; i < 8; ++i) {
        const bool on = i == Avi || i == Wmv;
        EXPECT_EQ(kanren(i)->isChecked(), on) << i;
        EXPECT_EQ(defaultOf(i)->isEnabled(), on) << i;
        EXPECT_EQ(defaultOf(i)->isChecked(), i == Avi) << i;
    }
    // The default box follows the first place, not a place further down.
    close();
    writeFile(listFile(), "[Added Associations]\nvideo/x-ms-wmv=plovana.desktop;\n"
                          "[Default Applications]\nvideo/x-ms-wmv=vlc.desktop;plovana.desktop;\n");
    start();
    EXPECT_TRUE(kanren(Wmv)->isChecked());
    EXPECT_FALSE(defaultOf(Wmv)->isChecked());
}

// "関連付け全解除" unchecks all eight: not one id of the program is left.
TEST_F(Associations, DeleteAllLeavesNoIdOfTheProgram)
{
    writeFile(listFile(), kForeign);
    start();
    for (int i = 0; i < 8; ++i)
        kanren(i)->click();
    for (int i : {Avi, Rm, Ram, Mpg})
        defaultOf(i)->click();
    EXPECT_TRUE(list().contains("plovana.desktop"));
    a().BtDeleteAll()->click();
    EXPECT_EQ(list(), kForeign);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(kanren(i)->isChecked());
        EXPECT_FALSE(defaultOf(i)->isChecked());
        EXPECT_FALSE(defaultOf(i)->isEnabled());
    }
}

// Start-up only reads: a list of ours from another session checks the boxes and writes
// neither the list nor a desktop entry.
TEST_F(Associations, StartUpWritesNothing)
{
    const QByteArray ours = "[Added Associations]\nvideo/x-msvideo=plovana.desktop;\n"
                            "[Default Applications]\nvideo/x-msvideo=plovana.desktop;vlc.desktop;\n";
    writeFile(listFile(), ours);
    start();
    EXPECT_TRUE(kanren(Avi)->isChecked());
    EXPECT_TRUE(defaultOf(Avi)->isChecked());
    EXPECT_EQ(list(), ours);
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
}

// A mimeapps.list that is there but cannot be read (here a named pipe, which would also
// hold the window for good while it waits for a writer) is never written over.
TEST_F(Associations, AListThatCannotBeReadIsLeftAlone)
{
    QDir().mkpath(xdgConfig());
    ASSERT_EQ(mkfifo(QFile::encodeName(listFile()).constData(), 0644), 0);
    start();
    kanren(Avi)->click();
    defaultOf(Avi)->click();
    EXPECT_FALSE(QFileInfo(listFile()).isFile()); // still the pipe
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
}

// With an installed entry in $XDG_DATA_DIRS the associations name it and no copy of our
// own is written; a copy of ours whose program is gone is removed at start-up (it would
// hide the installed entry and start nothing).
TEST_F(Associations, AnInstalledEntryIsUsedAndAStaleCopyOfOursRemoved)
{
    writeFile(xdgDataDirs() + "/applications/plovana.desktop",
              readFile(qEnvironmentVariable("PLOVANA_SOURCE") + "/data/plovana.desktop"));
    writeFile(userEntry(), associations::desktopEntryText(work("moved-away/plovana")));
    start();
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
    kanren(Avi)->click();
    EXPECT_EQ(listed(associations::group::added, "video/x-msvideo"), QStringList{"plovana.desktop"});
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
    close();

    // An entry the user wrote is theirs, whatever it names; ours whose program is there stays.
    const QByteArray users = "[Desktop Entry]\nType=Application\nName=My Plovana\nExec=/gone/plovana %f\n";
    writeFile(userEntry(), users);
    start();
    EXPECT_EQ(readFile(userEntry()), users);
    close();
    writeFile(userEntry(), associations::desktopEntryText(program));
    start();
    EXPECT_TRUE(QFileInfo::exists(userEntry()));
}

// Without an installed entry, a box writes ours when the entry there names another program
// (the program was moved), and leaves it when it names this one.
TEST_F(Associations, OurEntryFollowsTheProgram)
{
    const QString other = touch("old/plovana");
    writeFile(userEntry(), associations::desktopEntryText(other));
    start();
    EXPECT_EQ(readFile(userEntry()), associations::desktopEntryText(other)); // its program is there
    kanren(Asf)->click();
    EXPECT_EQ(readFile(userEntry()), associations::desktopEntryText(program));
    const QDateTime written = QFileInfo(userEntry()).lastModified();
    kanren(Wmv)->click();
    EXPECT_EQ(QFileInfo(userEntry()).lastModified(), written);
}

namespace {

// A desktop tool run in the test's XDG folders, as a session without a known desktop runs
// it (xdg-mime then reads mimeapps.list itself).
std::pair<QString, int> runTool(const QString &tool, const QStringList &arguments,
                                const QList<std::pair<QString, QString>> &variables)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *v : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                          "KDE_SESSION_VERSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID"})
        env.remove(QString::fromLatin1(v));
    for (const auto &[name, value] : variables)
        env.insert(name, value);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, arguments);
    if (!p.waitForFinished(20000))
        return {QStringLiteral("timed out"), -1};
    return {QString::fromUtf8(p.readAll()), p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1};
}

const char *missingDesktopTool()
{
    for (const char *tool : {"xdg-mime", "gio", "desktop-file-validate"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return tool;
    return nullptr;
}

} // namespace

class WithTheDesktopTools : public Associations
{
protected:
    void SetUp() override
    {
        Associations::SetUp();
        if (const char *tool = missingDesktopTool())
            GTEST_SKIP() << tool << " is missing (xdg-utils, libglib2.0-bin, desktop-file-utils): no test with the desktop's tools";
    }
    QList<std::pair<QString, QString>> xdg() const
    {
        return {{"XDG_CONFIG_HOME", xdgConfig()}, {"XDG_DATA_HOME", xdgData()}, {"XDG_DATA_DIRS", xdgDataDirs()},
                {"HOME", work("home")}};
    }
};

TEST_F(WithTheDesktopTools, XdgMimeFindsTheDefaultAfterTheBoxAndNothingAfterIt)
{
    start();
    const QStringList query{"query", "default", "video/x-msvideo"};
    kanren(Avi)->click();
    defaultOf(Avi)->click();
    auto [out, code] = runTool("xdg-mime", query, xdg());
    EXPECT_EQ(out.trimmed(), "plovana.desktop") << "exit " << code;
    kanren(Avi)->click();
    std::tie(out, code) = runTool("xdg-mime", query, xdg());
    EXPECT_EQ(out.trimmed(), "") << "exit " << code;
}

// The desktop starts the program as the entry says: a path with a space, a quote, a "$" and
// a backslash is one program, and "a b.avi" one argument.
TEST_F(WithTheDesktopTools, GioLaunchesTheEntryWithOneArgumentPerFile)
{
    program = work("my \"$dir\\/plovana");
    writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$PLOVANA_STUB_OUT\"\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    start();
    kanren(Avi)->click();
    ASSERT_EQ(readFile(userEntry()), associations::desktopEntryText(program));
    const QString clip = touch("a b.avi");
    const QString out = work("stub-arguments.txt");
    auto variables = xdg();
    variables.append({"PLOVANA_STUB_OUT", out});
    const auto [output, code] = runTool("gio", {"launch", userEntry(), clip}, variables);
    ASSERT_EQ(code, 0) << output.toStdString();
    ASSERT_TRUE(testsupport::waitFor([&] { return QFileInfo(out).size() > 0; }, 10000)) << output.toStdString();
    EXPECT_EQ(readFile(out), "1\n" + clip.toUtf8() + "\n");
}

// The installed entry (Exec=plovana %f, the program found on PATH) is the default the
// desktop finds after the box, and the program writes no entry of its own for it.
TEST_F(WithTheDesktopTools, XdgMimeFindsTheInstalledEntry)
{
    writeFile(xdgDataDirs() + "/applications/plovana.desktop",
              readFile(qEnvironmentVariable("PLOVANA_SOURCE") + "/data/plovana.desktop"));
    const QString installed = work("usr/bin/plovana");
    writeFile(installed, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    start();
    kanren(Avi)->click();
    defaultOf(Avi)->click();
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
    auto variables = xdg();
    variables.append({"PATH", work("usr/bin") + u':' + qEnvironmentVariable("PATH")});
    const auto [out, code] = runTool("xdg-mime", {"query", "default", "video/x-msvideo"}, variables);
    EXPECT_EQ(out.trimmed(), "plovana.desktop") << "exit " << code;
}

TEST_F(WithTheDesktopTools, BothEntriesAreValid)
{
    program = work("my apps/100% \"plovana\"");
    writeFile(program, "#!/bin/sh\n");
    start();
    kanren(Avi)->click();
    for (const QString &entry : {userEntry(), qEnvironmentVariable("PLOVANA_SOURCE") + "/data/plovana.desktop"}) {
        const auto [output, code] = runTool("desktop-file-validate", {entry}, xdg());
        EXPECT_EQ(code, 0) << entry.toStdString() << ": " << output.toStdString();
        EXPECT_FALSE(output.contains("error")) << entry.toStdString() << ": " << output.toStdString();
    }
}
