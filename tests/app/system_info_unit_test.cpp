// The read-outs of ソフト情報, the list colours' values and color.ini.
#include "app/list_colours.h"
#include "app/system_info.h"
#include "dialogs/colour_value.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SystemInfo, MemoryOfAMachineWith512MbAnd200MbFree)
{
    // An old kernel: no MemAvailable, so MemFree counts.
    const auto old = parseMeminfo("MemTotal:         524288 kB\nMemFree:          204800 kB\nBuffers:   1024 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(*old, (MemoryInfo{524288, 204800}));
    EXPECT_EQ(memoryText(*old), "204,800KB / 524,288KB");
    // MemAvailable, where there is one, is what can still be given.
    const auto now = parseMeminfo("MemTotal: 16318412 kB\nMemFree: 1000 kB\nMemAvailable: 9876543 kB\n");
    ASSERT_TRUE(now);
    EXPECT_EQ(memoryText(*now), "9,876,543KB / 16,318,412KB");
    EXPECT_FALSE(parseMeminfo("MemFree: 1000 kB\n"));
    EXPECT_FALSE(parseMeminfo(""));
}

TEST(SystemInfo, CountsAreGroupedWithCommasAndTheScreenReadsInPixelsAndBits)
{
    EXPECT_EQ(groupedCount(0), "0");
    EXPECT_EQ(groupedCount(999), "999");
    EXPECT_EQ(groupedCount(1000), "1,000");
    EXPECT_EQ(groupedCount(1234567), "1,234,567");
    EXPECT_EQ(displayText(1920, 1080, 24), QString::fromUtf8("1920×1080 24ビット"));
}

TEST(ListColours, ValuesAreRedInTheLowByte)
{
    EXPECT_EQ(colour::value(119, 150, 230), 15111799);
    EXPECT_EQ(colour::value(27, 18, 20), 1315355);
    EXPECT_EQ(colour::value(255, 255, 255), 0xFFFFFF);
    EXPECT_EQ(colour::red(15111799), 119);
    EXPECT_EQ(colour::green(15111799), 150);
    EXPECT_EQ(colour::blue(15111799), 230);
    // A value with its high byte set stands for the colour of its low 24 bits.
    EXPECT_EQ(colour::normalized(-1), 0xFFFFFF);
    EXPECT_EQ(colour::normalized(0x01000000 | 1315355), 1315355);
}

TEST(ListColours, ColorIniKeepsBothColoursAndItsOtherLines)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("color.ini");
    EXPECT_EQ(readColorIni(file), std::nullopt);
    ASSERT_TRUE(writeColorIni(file, {listcolours::kDesignFore, listcolours::kDesignBackButton}));
    EXPECT_EQ(testsupport::readFile(file), "[list]\r\nForeColor=15111799\r\nBackColor=1315355\r\n");
    EXPECT_EQ(readColorIni(file), (ListColours{15111799, 1315355}));

    // A key that is missing reads 0; other sections stay.
    testsupport::writeFile(file, "[other]\r\nx=1\r\n[list]\r\nForeColor=255\r\n");
    EXPECT_EQ(readColorIni(file), (ListColours{255, 0}));
    ASSERT_TRUE(writeColorIni(file, {16777215, 0}));
    EXPECT_EQ(testsupport::readFile(file), "[other]\r\nx=1\r\n[list]\r\nForeColor=16777215\r\nBackColor=0\r\n");
}
