// config.ini as one value: read with the profile rules, written in one replace that gives
// the same bytes as writing its keys one by one.
#include "widgets/config_values.h"

#include "platform/profile.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

ConfigValues sample()
{
    ConfigValues c;
    c.LastDir = QString::fromUtf8("/home/u/動画/");
    c.ImageDir = "/home/u/images/";
    c.homeDir = "/home/u/";
    c.Left = 40005;
    c.Top = -15;
    c.Width = 13500;
    c.Height = 8400;
    c.ListWidth = 6255;
    c.volume = 70;
    c.Resume = 1;
    c.AutoAdjust = 2;
    c.WindowState = 2;
    c.PlayMode = 3;
    c.ListMode = 2;
    c.ListVisible = 1;
    c.PlaySpeed = -1;
    c.Temae = 1;
    c.upper_clip = 12;
    c.load_thumbnail = 1;
    c.mouse_mode = 3;
    return c;
}

} // namespace

TEST(ConfigValues, MissingKeysReadAsZeroAndValuesFollowTheProfileRules)
{
    const platform::IniDocument ini({"[Position]", "Left=40005", "Width=13500.7", "[volume]", "volume=55.7",
                                     "[other]", "PlaySpeed=-1", "ListMode=2x", "[directory]",
                                     "LastDir=" + QString(300, u'a')});
    const ConfigValues c = readConfig(ini);
    EXPECT_EQ(c.Left, 40005) << "32-bit: a second monitor lies beyond 32767 twips";
    EXPECT_EQ(c.Width, 13500);
    EXPECT_EQ(c.volume, 55);
    EXPECT_EQ(c.PlaySpeed, -1);
    EXPECT_EQ(c.ListMode, 2);
    EXPECT_EQ(c.LastDir.size(), 255);
    EXPECT_EQ(c.Top, 0);
    EXPECT_EQ(c.mouse_mode, 0);
    EXPECT_TRUE(c.homeDir.isEmpty());
    EXPECT_EQ(readConfig(platform::IniDocument()), ConfigValues());
}

TEST(ConfigValues, OneSaveGivesTheBytesOfThirtySingleWrites)
{
    QTemporaryDir dir;
    const ConfigValues c = sample();
    // The same values written key by key, as the settings file was always written.
    const QString oneByOne = dir.filePath("one.ini");
    platform::IniDocument keys;
    writeConfig(c, keys);
    QString section;
    for (const QString &line : keys.lines()) {
        if (line.startsWith(u'[')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        ASSERT_TRUE(platform::writePrivateProfileString(section, line.left(eq), line.mid(eq + 1), oneByOne));
    }
    const QString atOnce = dir.filePath("once.ini");
    ASSERT_TRUE(saveConfigFile(c, atOnce));
    EXPECT_EQ(readFile(atOnce), readFile(oneByOne));
    EXPECT_TRUE(readFile(atOnce).startsWith(QString::fromUtf8("[directory]\r\nLastDir=/home/u/動画/\r\n").toUtf8()));
    EXPECT_EQ(readConfig(platform::IniDocument::load(atOnce)), c);
}

TEST(ConfigValues, SaveKeepsTheFilesOtherLinesAndReplacesItsKeys)
{
    QTemporaryDir dir;
    const QString f = writeFile(dir.filePath("config.ini"),
                                "; kept\r\n[other]\r\nPlayMode=1\r\nmine=yes\r\n[extra]\r\nx=1\r\n");
    ASSERT_TRUE(saveConfigFile(sample(), f));
    const QByteArray bytes = readFile(f);
    EXPECT_TRUE(bytes.startsWith("; kept\r\n[other]\r\nPlayMode=3\r\nmine=yes\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("[extra]\r\nx=1\r\n"));
    EXPECT_EQ(bytes.count("PlayMode="), 1);
    EXPECT_EQ(readConfig(platform::IniDocument::load(f)), sample());
}

TEST(ConfigValues, AFailedSaveLeavesTheOldFile)
{
    QTemporaryDir dir;
    // The folder of the file is a file: nothing can be written there.
    const QString blocker = writeFile(dir.filePath("state"), "old");
    EXPECT_FALSE(saveConfigFile(sample(), blocker + "/config.ini"));
    EXPECT_EQ(readFile(blocker), "old");
}
