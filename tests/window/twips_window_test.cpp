// Placing controls in twips, and the screen metrics of a real window.
#include "platform/my_module.h"
#include "widgets/twips.h"

#include <gtest/gtest.h>
#include <QWidget>

TEST(ScreenMetrics, UnmappedWindowHasNoFrame)
{
    QWidget w;
    myModule::initScreenMetrics(&w);
    EXPECT_EQ(myModule::twipsPerPixelX, 15); // offscreen screens report 96 DPI
    EXPECT_EQ(myModule::captionHeight, 0);
    EXPECT_EQ(myModule::frameWidth, 0);
    EXPECT_EQ(myModule::frameHeight, 0);
}

TEST(Twips, PlacesAndReadsBackInTwips)
{
    myModule::twipsPerPixelX = myModule::twipsPerPixelY = 15;
    QWidget parent;
    QWidget child(&parent);
    twips::place(&child, 1000, -60, 3135, 375);
    EXPECT_EQ(child.geometry(), QRect(67, -4, 209, 25)); // rounded to the nearest pixel
    EXPECT_EQ(twips::left(&child), 1005);
    EXPECT_EQ(twips::top(&child), -60);
    twips::setWidth(&child, 40000); // wider than 16 bits of twips allow
    EXPECT_EQ(twips::width(&child), 40005);
    twips::setHeight(&child, -100);
    EXPECT_EQ(child.height(), 0);
}

