// The ids of the parameterised commands.
#include "widgets/command_ids.h"

#include <gtest/gtest.h>

TEST(CommandIds, ModeSpeedSizeAndSceneIds)
{
    EXPECT_EQ(command::mode(0), "mode.normal");
    EXPECT_EQ(command::mode(3), "mode.rnd");
    EXPECT_EQ(command::speed(0), "speed.20");
    EXPECT_EQ(command::speed(3), "speed.05");
    EXPECT_EQ(command::size(0), "size.0");
    EXPECT_EQ(command::size(5), "size.5");
    EXPECT_EQ(command::sceneJump(0), "scene.jump.0");
    EXPECT_EQ(command::sceneRegister(9), "scene.register.9");
    EXPECT_TRUE(command::mode(4).isEmpty());
    EXPECT_TRUE(command::speed(-1).isEmpty());
    EXPECT_TRUE(command::size(6).isEmpty());
    EXPECT_TRUE(command::sceneDelete(10).isEmpty());
}
