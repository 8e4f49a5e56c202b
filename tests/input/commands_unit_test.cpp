// Commands by id: one registration, triggered from anywhere by its id.
#include "input/commands.h"

#include <gtest/gtest.h>

TEST(Commands, TriggerRunsTheRegisteredCommandOnly)
{
    Commands c;
    int plays = 0, stops = 0;
    c.add(command::play, [&] { ++plays; });
    c.add(command::stop, [&] { ++stops; });
    EXPECT_TRUE(c.trigger("play"));
    EXPECT_TRUE(c.trigger(command::play));
    EXPECT_EQ(plays, 2);
    EXPECT_EQ(stops, 0);
    EXPECT_FALSE(c.trigger("capture")) << "an id without a command does nothing";
    EXPECT_FALSE(c.trigger(QString()));
    c.add(command::play, [&] { plays += 10; });
    c.trigger(command::play);
    EXPECT_EQ(plays, 12) << "a command registered again replaces the old one";
    EXPECT_EQ(c.ids(), (QStringList{"play", "stop"}));
}

TEST(Commands, ModeAndSpeedIds)
{
    EXPECT_EQ(command::mode(0), "mode.normal");
    EXPECT_EQ(command::mode(3), "mode.rnd");
    EXPECT_EQ(command::speed(0), "speed.20");
    EXPECT_EQ(command::speed(3), "speed.05");
    EXPECT_TRUE(command::mode(4).isEmpty());
    EXPECT_TRUE(command::speed(-1).isEmpty());
}
