// Scene files: records and captions, the position text, the tag's rounding, and which unit
// a tag shared by both engines is read in.
#include "playback/engine_units.h"
#include "scenes/scene_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>
#include <QLocale>
#include <QTemporaryDir>

#include <clocale>
#include <limits>
#include <random>

using namespace scenes;
using testsupport::readFile;
using testsupport::writeFile;

TEST(SceneCaptions, UsedNeverUsedAndCleared)
{
    EXPECT_EQ(sceneCaption(3, 65), "[3] 1:05");
    EXPECT_EQ(sceneCaption(0, 0), "[0] 0:00");
    EXPECT_EQ(sceneCaption(9, 3723), "[9] 1:02:03");
    EXPECT_EQ(unusedCaption(7), "[7] -----");
    EXPECT_EQ(clearedCaption(), "----");

    // The time read back from a caption is the time it was made with.
    for (int s : {0, 59, 65, 3599, 3600, 3723, 360000})
        EXPECT_EQ(captionSeconds(sceneCaption(4, s)), s) << s;
    EXPECT_EQ(captionSeconds(unusedCaption(4)), std::nullopt);
    EXPECT_EQ(captionSeconds(clearedCaption()), std::nullopt);
    EXPECT_EQ(captionSeconds("[3] 1:05 a good bit"), std::nullopt);
    EXPECT_EQ(captionSeconds(""), std::nullopt);
    // Edited by hand: times beyond 32 bits read as none, however many digits they have.
    EXPECT_EQ(captionSeconds("[1] 596523:14:07"), 2147483647);
    EXPECT_EQ(captionSeconds("[1] 596523:14:08"), std::nullopt);
    EXPECT_EQ(captionSeconds("[1] 999999999999999999:00:00"), std::nullopt);
    EXPECT_EQ(captionSeconds("[1] 999999999999999999:00"), std::nullopt);
    EXPECT_EQ(captionSeconds("[1] 99999999999999999999:00"), std::nullopt);
}

TEST(SceneCaptions, MenuTextsOnlyMarkSlotsInUse)
{
    const SlotMenuTexts used = slotMenuTexts({"[3] 1:05", "65.4"});
    EXPECT_EQ(used.seen, "[3] 1:05");
    EXPECT_EQ(used.reg, "[3] 1:05 に上書き");
    EXPECT_EQ(used.chg, "[3] 1:05 のシーン名変更");
    EXPECT_EQ(used.del, "[3] 1:05 を削除");
    for (const SceneSlot &free : {SceneSlot{"[2] -----", ""}, SceneSlot{"----", ""}}) {
        const SlotMenuTexts t = slotMenuTexts(free);
        EXPECT_EQ(t.seen, free.caption);
        EXPECT_EQ(t.reg, free.caption);
        EXPECT_EQ(t.chg, free.caption);
        EXPECT_EQ(t.del, free.caption);
    }
}

TEST(SceneRecords, PathsAndNames)
{
    EXPECT_EQ(sceneFilePath("/app/seen/", "/m/a.avi"), "/app/seen/a.txt");
    EXPECT_EQ(sceneFilePath("/app/seen", "/other/a.mpg"), "/app/seen/a.txt");
    EXPECT_EQ(sceneFilePath("/app/seen/", "/m/my.clip.rm"), "/app/seen/my.clip.txt");
    EXPECT_EQ(localName("file:///m/b.rm"), "/m/b.rm");
    EXPECT_EQ(localName("FILE:///m/b.rm"), "/m/b.rm");
    EXPECT_EQ(localName("/m/file://b.rm"), "/m/file://b.rm");
    EXPECT_EQ(localName("/m/a.avi"), "/m/a.avi");
    EXPECT_EQ(localName(""), "");
}

TEST(SceneRecords, TenQuotedRecordsSlotZeroFirst)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("a.txt");
    SceneSlots slots = unusedSlots();
    slots[3] = {"[3] 1:05", "65.4321"};
    slots[5] = {clearedCaption(), ""};
    ASSERT_TRUE(writeSceneFile(file, slots));
    EXPECT_EQ(readFile(file), "\"[0] -----\",\"\"\r\n"
                              "\"[1] -----\",\"\"\r\n"
                              "\"[2] -----\",\"\"\r\n"
                              "\"[3] 1:05\",\"65.4321\"\r\n"
                              "\"[4] -----\",\"\"\r\n"
                              "\"----\",\"\"\r\n"
                              "\"[6] -----\",\"\"\r\n"
                              "\"[7] -----\",\"\"\r\n"
                              "\"[8] -----\",\"\"\r\n"
                              "\"[9] -----\",\"\"\r\n");
    const SceneFile back = readSceneFile(file);
    EXPECT_TRUE(back.exists);
    EXPECT_EQ(back.slots, slots);
    EXPECT_TRUE(back.slots[3].inUse());
    EXPECT_FALSE(back.slots[5].inUse());
    EXPECT_FALSE(allUnused(slots));
    slots[3] = {clearedCaption(), ""};
    EXPECT_TRUE(allUnused(slots));
}

TEST(SceneRecords, MissingShortAndLongFiles)
{
    QTemporaryDir dir;
    const SceneFile missing = readSceneFile(dir.filePath("none.txt"));
    EXPECT_FALSE(missing.exists);
    EXPECT_EQ(missing.slots, unusedSlots());

    // Slots the file does not reach are never used; records past the tenth are ignored.
    const SceneFile shortFile = readSceneFile(writeFile(dir.filePath("short.txt"), "\"[0] 0:07\",\"7.5\"\n\"x\"\r\n"));
    EXPECT_TRUE(shortFile.exists);
    EXPECT_EQ(shortFile.slots[0], (SceneSlot{"[0] 0:07", "7.5"}));
    EXPECT_EQ(shortFile.slots[1], (SceneSlot{"x", ""}));
    EXPECT_EQ(shortFile.slots[2], (SceneSlot{"[2] -----", ""}));

    QByteArray eleven;
    for (int i = 0; i < 11; ++i)
        eleven += "\"[" + QByteArray::number(i) + "] 0:0" + QByteArray::number(i % 10) + "\",\"" + QByteArray::number(i) + "\"\r\n";
    const SceneFile longFile = readSceneFile(writeFile(dir.filePath("long.txt"), eleven));
    EXPECT_EQ(longFile.slots[9], (SceneSlot{"[9] 0:09", "9"}));
}

TEST(PositionText, FifteenSignificantDigitsInFixedNotation)
{
    EXPECT_EQ(doubleText(65.4), "65.4");
    EXPECT_EQ(doubleText(65.4321), "65.4321");
    EXPECT_EQ(doubleText(0.1 + 0.2), "0.3");
    EXPECT_EQ(doubleText(27.560000000000002), "27.56");
    EXPECT_EQ(doubleText(100.0), "100");
    EXPECT_EQ(doubleText(0.0), "0");
    EXPECT_EQ(doubleText(0.00001), "0.00001");
    EXPECT_EQ(doubleText(1234567.125), "1234567.125");
    EXPECT_EQ(doubleText(1.0 / 3.0), "0.333333333333333");

    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> seconds(0.0, 36000.0);
    for (int i = 0; i < 2000; ++i) {
        const double v = seconds(random);
        const QString text = doubleText(v);
        EXPECT_NEAR(text.toDouble(), v, 1e-10) << text.toStdString();
        EXPECT_FALSE(text.contains(u'e')) << text.toStdString();
        EXPECT_FALSE(text.contains(u'.') && text.endsWith(u'0')) << text.toStdString();
        QString significant = text;
        significant.remove(u'.');
        while (significant.startsWith(u'0'))
            significant.remove(0, 1);
        EXPECT_LE(significant.size(), 15) << text.toStdString();
    }
}

TEST(PositionText, SameTextInEveryLocale)
{
    const char *old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const QLocale qtSaved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(positionText(65.4, SceneUnit::Seconds), "65.4");
    EXPECT_EQ(parseSceneTag("65.5"), 66);
    QLocale::setDefault(qtSaved);
    std::setlocale(LC_ALL, saved.c_str());
    if (!german)
        GTEST_LOG_(INFO) << "no de_DE locale on this machine: only Qt's default locale was changed";
}

TEST(PositionText, MillisecondsAreWhole)
{
    EXPECT_EQ(positionText(65432.0, SceneUnit::Milliseconds), "65432");
    EXPECT_EQ(positionText(0.0, SceneUnit::Milliseconds), "0");
    EXPECT_EQ(positionText(65.4, SceneUnit::Seconds), "65.4");
}

TEST(SceneTag, RoundsHalfToEven)
{
    EXPECT_EQ(parseSceneTag("2.5"), 2);
    EXPECT_EQ(parseSceneTag("3.5"), 4);
    EXPECT_EQ(parseSceneTag("-2.5"), -2);
    EXPECT_EQ(parseSceneTag("-3.5"), -4);
    EXPECT_EQ(parseSceneTag("65.4321"), 65);
    EXPECT_EQ(parseSceneTag("65.5000001"), 66);
    EXPECT_EQ(parseSceneTag("65432"), 65432);
    EXPECT_EQ(parseSceneTag(" 7 "), 7);
    EXPECT_EQ(parseSceneTag("2147483647"), 2147483647);
    EXPECT_EQ(parseSceneTag("2147483647.4"), 2147483647);
    EXPECT_EQ(parseSceneTag("-2147483648.5"), std::numeric_limits<int>::min());
}

TEST(SceneTag, NotANumberOrOutOfRange)
{
    for (const char *bad : {"", "abc", "65,4", "1:05", "2147483647.5", "2147483648", "-2147483649", "1e10", "inf", "nan"})
        EXPECT_EQ(parseSceneTag(bad), std::nullopt) << bad;
}

TEST(SceneUnitChoice, TheUnitNearerTheCaptionWins)
{
    // a.rm registered 65432 ms as 1:05: a.avi reads it as milliseconds.
    EXPECT_EQ(tagUnit(65432, 65, SceneUnit::Seconds), SceneUnit::Milliseconds);
    // a.avi registered 65.4 s as 1:05: a.rm reads it as seconds.
    EXPECT_EQ(tagUnit(65, 65, SceneUnit::Milliseconds), SceneUnit::Seconds);
    // Each engine reads its own tags as its own unit.
    EXPECT_EQ(tagUnit(65, 65, SceneUnit::Seconds), SceneUnit::Seconds);
    EXPECT_EQ(tagUnit(65432, 65, SceneUnit::Milliseconds), SceneUnit::Milliseconds);
    // Under a second both read 0 seconds: the engine's own unit.
    EXPECT_EQ(tagUnit(0, 0, SceneUnit::Seconds), SceneUnit::Seconds);
    EXPECT_EQ(tagUnit(0, 0, SceneUnit::Milliseconds), SceneUnit::Milliseconds);
    EXPECT_EQ(tagUnit(400, 0, SceneUnit::Milliseconds), SceneUnit::Milliseconds);
    EXPECT_EQ(tagUnit(400, 0, SceneUnit::Seconds), SceneUnit::Milliseconds);
    // A caption without a time: the engine's own.
    EXPECT_EQ(tagUnit(65432, std::nullopt, SceneUnit::Seconds), SceneUnit::Seconds);
    EXPECT_EQ(tagUnit(65, std::nullopt, SceneUnit::Milliseconds), SceneUnit::Milliseconds);
    // Equally far either way (2000 s and 2 s, both 999 s from 1001 s): the engine's own.
    EXPECT_EQ(tagUnit(2000, 1001, SceneUnit::Seconds), SceneUnit::Seconds);
    EXPECT_EQ(tagUnit(2000, 1001, SceneUnit::Milliseconds), SceneUnit::Milliseconds);
    EXPECT_EQ(tagUnit(std::numeric_limits<int>::min(), 0, SceneUnit::Seconds), SceneUnit::Milliseconds);
}

TEST(SceneJump, LandsOnTheEnginesGrain)
{
    // The ordinary engine: whole seconds, 100 units to the second.
    EXPECT_EQ(jumpUnits(65, SceneUnit::Seconds, SceneUnit::Seconds, 100), 6500);
    EXPECT_EQ(jumpUnits(65432, SceneUnit::Milliseconds, SceneUnit::Seconds, 100), 6500);
    // RealMedia: milliseconds, 1000 units to the second.
    EXPECT_EQ(jumpUnits(65432, SceneUnit::Milliseconds, SceneUnit::Milliseconds, 1000), 65432);
    EXPECT_EQ(jumpUnits(65, SceneUnit::Seconds, SceneUnit::Milliseconds, 1000), 65000);
    // Targets that do not fit the seek bar's int.
    EXPECT_EQ(jumpUnits(30000000, SceneUnit::Seconds, SceneUnit::Seconds, 100), std::nullopt);
    EXPECT_EQ(jumpUnits(3000000, SceneUnit::Seconds, SceneUnit::Milliseconds, 1000), std::nullopt);
    EXPECT_EQ(jumpUnits(std::numeric_limits<int>::max(), SceneUnit::Milliseconds, SceneUnit::Milliseconds, 1000),
              std::numeric_limits<int>::max());
}
