#include "playback/engine_units.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

TEST(TimeText, MinutesAndHours)
{
    EXPECT_EQ(timeText(-5), "0:00");
    EXPECT_EQ(timeText(0), "0:00");
    EXPECT_EQ(timeText(59), "0:59");
    EXPECT_EQ(timeText(65), "1:05");
    EXPECT_EQ(timeText(3599), "59:59");
    EXPECT_EQ(timeText(3600), "1:00:00");
    EXPECT_EQ(timeText(45296), "12:34:56");
    EXPECT_EQ(timeText(360000), "100:00:00");
}

TEST(DurationCode, HundredthsWhenTheyFitSixteenBits)
{
    EXPECT_EQ(durationCode(5.0), 500);
    EXPECT_EQ(durationCode(4.890911), 489);
    EXPECT_EQ(durationCode(300.0), 30000);
    EXPECT_EQ(durationCode(327.67), 32767);
    EXPECT_EQ(durationCode(327.68), -1);
    EXPECT_EQ(durationCode(360.0), -1);
}

TEST(GraphVolume, CentibelsToPercentAndBack)
{
    EXPECT_DOUBLE_EQ(centibelsToPercent(0), 100.0);
    EXPECT_NEAR(centibelsToPercent(-6000), 10.0, 1e-9);
    EXPECT_NEAR(centibelsToPercent(-10000), 100.0 * std::pow(10.0, -10000 / 6000.0), 1e-9);
    EXPECT_DOUBLE_EQ(centibelsToPercent(500), 100.0); // above full is full
    EXPECT_EQ(percentToCentibels(100.0), 0);
    EXPECT_EQ(percentToCentibels(10.0), -6000);
    EXPECT_EQ(percentToCentibels(0.0), -10000);
    for (int v : {0, -1, -2500, -5000, -9999, -10000})
        EXPECT_EQ(percentToCentibels(centibelsToPercent(v)), v) << v;
}
