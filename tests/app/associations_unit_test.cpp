// The edits of mimeapps.list and the desktop entry the program writes for itself.
#include "app/associations.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace associations;

namespace {

const QString kAvi = QStringLiteral("video/x-msvideo");
const QString kOwn = QStringLiteral("plovana.desktop");

// Another player's 600-byte list, as a media centre with many handlers writes it.
QByteArray longList()
{
    QByteArray list;
    for (int i = 0; list.size() < 600; ++i)
        list += "org.example.Player" + QByteArray::number(i) + ".desktop;";
    return list.left(599) + ';';
}

// A file written by other programs: comments, blank lines, several groups, the long list.
QByteArray foreignFile()
{
    return "# Edited by hand\n"
           "[Default Applications]\n"
           "video/x-msvideo=" + longList() + "\n"
           "text/plain=org.gnome.TextEditor.desktop\n"
           "\n"
           "# players\n"
           "[Added Associations]\n"
           "video/x-msvideo=vlc.desktop;mpv.desktop;\n"
           "video/mp4=vlc.desktop;\n"
           "\n"
           "[Removed Associations]\n"
           "video/x-msvideo=totem.desktop;plovana.desktop;\n"
           "video/mpeg=plovana.desktop;\n";
}

} // namespace

// Only this program's id in the keys it touches changes: the long foreign list, the
// comments and the other keys keep every byte, and taking the id out again gives the file
// back as it was.
TEST(Mimeapps, OnlyTheProgramsIdChangesAroundAForeignLongList)
{
    const QByteArray before = foreignFile();
    const QByteArray added = appendId(before, group::added, kAvi, kOwn);
    QByteArray expected = before;
    expected.replace("video/x-msvideo=vlc.desktop;mpv.desktop;\n", "video/x-msvideo=vlc.desktop;mpv.desktop;plovana.desktop;\n");
    EXPECT_EQ(added, expected);
    EXPECT_EQ(removeId(added, group::added, kAvi, kOwn), before);

    // First among the defaults, the long list after it as it was.
    const QByteArray first = putIdFirst(before, group::defaults, kAvi, kOwn);
    expected = before;
    expected.replace("video/x-msvideo=" + longList(), "video/x-msvideo=plovana.desktop;" + longList());
    EXPECT_EQ(first, expected);
    EXPECT_EQ(listedIds(first, group::defaults, kAvi).size(), listedIds(before, group::defaults, kAvi).size() + 1);
    EXPECT_TRUE(isListedFirst(first, group::defaults, kAvi, kOwn));
    EXPECT_EQ(removeId(first, group::defaults, kAvi, kOwn), before);

    // Out of [Removed Associations]: the other id stays; a list left empty loses its key.
    QByteArray dropped = removeId(before, group::removed, kAvi, kOwn);
    expected = before;
    expected.replace("video/x-msvideo=totem.desktop;plovana.desktop;\n", "video/x-msvideo=totem.desktop;\n");
    EXPECT_EQ(dropped, expected);
    dropped = removeId(dropped, group::removed, QStringLiteral("video/mpeg"), kOwn);
    expected.replace("video/mpeg=plovana.desktop;\n", "");
    EXPECT_EQ(dropped, expected);
}

TEST(Mimeapps, EditsThatChangeNothingGiveTheTextBack)
{
    const QByteArray before = foreignFile();
    EXPECT_EQ(removeId(before, group::added, kAvi, kOwn), before);           // not listed
    EXPECT_EQ(removeId(before, group::added, QStringLiteral("video/quicktime"), kOwn), before); // no key
    const QByteArray added = appendId(before, group::added, kAvi, kOwn);
    EXPECT_EQ(appendId(added, group::added, kAvi, kOwn), added); // listed already
    const QByteArray first = putIdFirst(before, group::defaults, kAvi, kOwn);
    EXPECT_EQ(putIdFirst(first, group::defaults, kAvi, kOwn), first);
}

TEST(Mimeapps, MissingFileGroupAndKeyAreMade)
{
    // No file.
    EXPECT_EQ(appendId({}, group::added, kAvi, kOwn), "[Added Associations]\nvideo/x-msvideo=plovana.desktop;\n");
    EXPECT_EQ(removeId({}, group::added, kAvi, kOwn), QByteArray());

    // A file without the group, and without a last line end: the group goes at the end.
    const QByteArray noGroup = "[Added Associations]\nvideo/mp4=vlc.desktop;";
    EXPECT_EQ(putIdFirst(noGroup, group::defaults, kAvi, kOwn),
              noGroup + "\n\n[Default Applications]\nvideo/x-msvideo=plovana.desktop;\n");

    // The group without the key: the key follows the group's last line, before the blank
    // line and the next group.
    const QByteArray noKey = "[Added Associations]\nvideo/mp4=vlc.desktop;\n\n# next\n[Default Applications]\n";
    EXPECT_EQ(appendId(noKey, group::added, kAvi, kOwn),
              "[Added Associations]\nvideo/mp4=vlc.desktop;\nvideo/x-msvideo=plovana.desktop;\n\n# next\n"
              "[Default Applications]\n");
}

TEST(Mimeapps, ListsAreReadAsTheDesktopWritesThem)
{
    // Blanks round "=", a list without its last ";", an edited line keeps its CR LF.
    const QByteArray text = "[Added Associations]\r\nvideo/x-msvideo = vlc.desktop\r\n[Default Applications]\r\n"
                            "video/x-msvideo=vlc.desktop;plovana.desktop;\r\n";
    EXPECT_EQ(listedIds(text, group::added, kAvi), QStringList{"vlc.desktop"});
    EXPECT_FALSE(isListed(text, group::added, kAvi, kOwn));
    EXPECT_TRUE(isListed(text, group::defaults, kAvi, kOwn));
    EXPECT_FALSE(isListedFirst(text, group::defaults, kAvi, kOwn));
    EXPECT_EQ(appendId(text, group::added, kAvi, kOwn),
              "[Added Associations]\r\nvideo/x-msvideo = vlc.desktop;plovana.desktop;\r\n[Default Applications]\r\n"
              "video/x-msvideo=vlc.desktop;plovana.desktop;\r\n");
    EXPECT_EQ(putIdFirst(text, group::defaults, kAvi, kOwn),
              "[Added Associations]\r\nvideo/x-msvideo = vlc.desktop\r\n[Default Applications]\r\n"
              "video/x-msvideo=plovana.desktop;vlc.desktop;\r\n");
    // A key of the same name in another group is not this group's.
    EXPECT_TRUE(listedIds(text, group::removed, kAvi).isEmpty());
}

// Exec= quoting by the desktop entry rules: a path with a reserved character in double
// quotes with \ " ` $ escaped, "%" doubled, then every backslash doubled as in any string
// value; each reads back as the path it was made of.
TEST(DesktopEntry, ExecQuotesTheProgramsPath)
{
    const std::pair<QString, QString> cases[] = {
        {"/usr/bin/plovana", "/usr/bin/plovana"},
        {"/opt/my apps/plovana", "\"/opt/my apps/plovana\""},
        {"/opt/a$b/plovana", "\"/opt/a\\\\$b/plovana\""},
        {"/opt/100%/plovana", "/opt/100%%/plovana"},
        {"/opt/100% sure/plovana", "\"/opt/100%% sure/plovana\""},
        {"/opt/a\\b/plovana", "\"/opt/a\\\\\\\\b/plovana\""},
        {"/opt/a\"b/plovana", "\"/opt/a\\\\\"b/plovana\""},
        {"/opt/a`b/plovana", "\"/opt/a\\\\`b/plovana\""},
        {"/opt/my \"$dir\\/plovana", "\"/opt/my \\\\\"\\\\$dir\\\\\\\\/plovana\""},
    };
    for (const auto &[program, exec] : cases) {
        EXPECT_EQ(execProgramArgument(program), exec) << program.toStdString();
        EXPECT_EQ(execProgram(execProgramArgument(program) + QStringLiteral(" %f")), program) << program.toStdString();
    }
}

TEST(DesktopEntry, TheProgramsOwnEntryNamesItAndNothingElse)
{
    EXPECT_EQ(desktopEntryText("/opt/my apps/plovana"), "[Desktop Entry]\n"
                                                        "Type=Application\n"
                                                        "Name=Plovana\n"
                                                        "Exec=\"/opt/my apps/plovana\" %f\n"
                                                        "Terminal=false\n"
                                                        "NoDisplay=true\n");
    EXPECT_EQ(ownDesktopEntryProgram(desktopEntryText("/opt/my apps/plovana")), QString("/opt/my apps/plovana"));
    // An entry anybody else wrote (another key, another name) is not the program's own.
    EXPECT_EQ(ownDesktopEntryProgram(desktopEntryText("/usr/bin/plovana") + "Icon=plovana\n"), std::nullopt);
    EXPECT_EQ(ownDesktopEntryProgram("[Desktop Entry]\nType=Application\nName=Plovana\nExec=plovana %f\n"),
              std::nullopt);
}

TEST(DesktopEntry, BaseFoldersComeFromTheEnvironment)
{
    const QByteArray config = qgetenv("XDG_CONFIG_HOME"), data = qgetenv("XDG_DATA_HOME"),
                     dirs = qgetenv("XDG_DATA_DIRS");
    QTemporaryDir tmp;
    qputenv("XDG_CONFIG_HOME", tmp.filePath("c").toUtf8());
    qputenv("XDG_DATA_HOME", tmp.filePath("d").toUtf8());
    qputenv("XDG_DATA_DIRS", (QStringLiteral("relative:") + tmp.filePath("s1") + u':' + tmp.filePath("s2")).toUtf8());
    EXPECT_EQ(mimeappsListFile(), tmp.filePath("c/mimeapps.list"));
    EXPECT_EQ(userDesktopEntryFile(), tmp.filePath("d/applications/plovana.desktop"));
    EXPECT_EQ(dataDirs(), (QStringList{tmp.filePath("s1"), tmp.filePath("s2")}));
    EXPECT_EQ(installedDesktopEntryFile(), QString());
    testsupport::writeFile(tmp.filePath("s2/applications/plovana.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(installedDesktopEntryFile(), tmp.filePath("s2/applications/plovana.desktop"));
    qputenv("XDG_CONFIG_HOME", "relative/folder"); // counts as unset
    EXPECT_EQ(configHome(), QDir::homePath() + QStringLiteral("/.config"));
    qputenv("XDG_CONFIG_HOME", config);
    qputenv("XDG_DATA_HOME", data);
    qputenv("XDG_DATA_DIRS", dirs);
}
