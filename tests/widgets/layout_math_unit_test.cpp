// The layout arithmetic with the sizes of the design-time window (twips, 15 per pixel).
#include "widgets/layout_math.h"

#include <gtest/gtest.h>

using namespace layout;

TEST(LayoutMath, VideoAreaBesideTheListPane)
{
    // 900 × 560 px client, a 6255-wide pane and the 80-wide splitter.
    EXPECT_EQ(displayWidthWithList(13500, 6255, 80, 60), (Side{7165, std::nullopt}));
    // Too narrow: the minimum, and the window widens to pane + minimum + splitter + frame.
    EXPECT_EQ(displayWidthWithList(7500, 6255, 80, 60), (Side{1500, 6255 + 1500 + 80 + 120}));
    EXPECT_EQ(displayWidthWithList(7836, 6255, 80, 0), (Side{1501, std::nullopt}));
    EXPECT_EQ(displayWidthWithList(7835, 6255, 80, 0), (Side{1500, 7835}));
}

TEST(LayoutMath, VideoAreaAboveTheControlBar)
{
    EXPECT_EQ(displayHeight(8400, 555, true, 60, 300), (Side{7845, std::nullopt}));
    EXPECT_EQ(displayHeight(2055, 555, true, 60, 300), (Side{1500, 555 + 1500 + 120 + 300}));
    // Without the pane only 10 or less is too small.
    EXPECT_EQ(displayHeight(566, 555, false, 0, 0), (Side{11, std::nullopt}));
    EXPECT_EQ(displayHeight(565, 555, false, 60, 300), (Side{1500, 555 + 1500 + 120 + 300}));
    EXPECT_EQ(smallModeDisplay(6000, 4500, 60, 60), (Size{5880, 4440}));
}

TEST(LayoutMath, WhatGoesRoundTheVideoArea)
{
    const Surround s = surround(13500, 8400, 7165, 555, 6255, 80);
    EXPECT_EQ(s.controlTop, 7845);
    EXPECT_EQ(s.controlWidth, 7165);
    EXPECT_EQ(s.listLeft, 7245);
    EXPECT_EQ(s.listHeight, 8400);
    EXPECT_EQ(s.kyoukaiLeft, 7165);
    EXPECT_EQ(s.kyoukaiHeight, 8400);
}

TEST(LayoutMath, ControlBar)
{
    // The design-time bar: seek bar between the volume and the time, 200 of overlap.
    EXPECT_EQ(controlBar(5415, 975, 1095, 300), (ControlBarPlaces{3545, 4440, 5115}));
    // Too narrow for a seek bar of its own: 100.
    EXPECT_EQ(controlBar(2080, 975, 1095, 300), (ControlBarPlaces{100, 1105, 1780}));
    EXPECT_EQ(controlBar(2081, 975, 1095, 300).seekBarWidth, 211);
}

TEST(LayoutMath, ListPanePages)
{
    const Rect pane{7245, 0, 6255, 8400};
    EXPECT_EQ(tab1Size(pane), (Size{6245, 8400}));
    EXPECT_EQ(tabDirRect(pane, 5400), (Rect{7245, 0, 5400, 8360}));
    EXPECT_EQ(tabDirRect({0, 0, 6255, 40}, 5400).height, 10) << "a pane lower than 40 still gets the tabs";

    const Rect tabDir{7245, 0, 5400, 8360};
    const FilePagePlaces files = filePage(tabDir, 5400, 7950, 540, false);
    EXPECT_EQ(files.file, (Rect{7245, 0, 5400, 7950}));
    EXPECT_EQ(files.listFind, (Rect{7245, 0, 5400, 7820}));
    EXPECT_EQ(files.find, (Rect{40, 7820, 5400, 540}));
    EXPECT_EQ(files.frameDummy, (Rect{7245, 7940, 5400, 60})) << "under the file list";
    EXPECT_EQ(filePage(tabDir, 5400, 7950, 540, true).frameDummy, (Rect{7245, 7810, 5400, 0}))
        << "under the search results";

    EXPECT_EQ(tabM3uRect(pane, 5400), (Rect{7245, 0, 5400, 8360}));
    EXPECT_EQ(listOkiniRect({7245, 0, 5400, 8360}, 5400, 7950), (Rect{7245, 0, 5400, 7990}));
    const OptionsPlaces o = optionsPage(5400, 8360);
    EXPECT_EQ(o.tabConfig, (Rect{-20, 20, 5440, 8320}));
    EXPECT_EQ(o.config, (Rect{20, 20, 5400, 8360}));
    EXPECT_EQ(optionsFrame(5400, 7900), (Rect{0, 20, 5400, 7900}));
}

TEST(LayoutMath, TheSearchRowKeepsItsButtonInsideThePage)
{
    // The design-time row: label 0..480, text from 520, the 375-wide button 40 past it.
    // Where the frame's whole width is visible, the widths are the described ones.
    EXPECT_EQ(findRow(5400, 5400, 0, 480, 520, 375), (FindRowPlaces{4465, 5025}));
    // The frame starts 40 in: 40 of it lies under the page tabs, and the text gives it up.
    EXPECT_EQ(findRow(5400, 5360, 0, 480, 520, 375), (FindRowPlaces{4425, 4985}));
    EXPECT_EQ(findRow(985, 945, 0, 480, 520, 375), (FindRowPlaces{10, 570})) << "the narrowest whole row";
    // Narrower still: the text keeps its 10, the button comes over it, whole.
    EXPECT_EQ(findRow(900, 860, 0, 480, 520, 375), (FindRowPlaces{10, 485}));
    EXPECT_EQ(findRow(300, 260, 0, 480, 520, 375), (FindRowPlaces{10, 0}));
    for (int w = 415; w < 20000; w += 300) { // every step of the list's width
        const FindRowPlaces r = findRow(w, w - 40, 0, 480, 520, 375);
        EXPECT_LE(r.buttonLeft + 375, w - 40) << w;
        if (w - 40 >= 945) {
            EXPECT_EQ(r.buttonLeft, 520 + r.findTextWidth + 40) << w;
        }
    }
}

TEST(LayoutMath, SplitterStopsAtTheMinimumAndShortOfTheRightEdge)
{
    EXPECT_EQ(splitterLeft(1500, 12000), 1500);
    EXPECT_EQ(splitterLeft(1501, 12000), 1501);
    EXPECT_EQ(splitterLeft(-400, 12000), 1500);
    EXPECT_EQ(splitterLeft(11799, 12000), 11799);
    EXPECT_EQ(splitterLeft(11800, 12000), 11800);
    EXPECT_EQ(splitterLeft(20000, 12000), 11800);
    // The pane takes what the splitter leaves: the window keeps its width.
    EXPECT_EQ(paneAfterSplitter(6000, 80, 12000), (PaneSpan{6080, 5920}));
}

TEST(LayoutMath, ListWidthButtonsStepByThreeHundredAndStopNarrowingAtEighty)
{
    EXPECT_EQ(listWidthStep(true, 6255), 300);
    EXPECT_EQ(listWidthStep(false, 6255), -300);
    EXPECT_EQ(listWidthStep(false, 381), -300);
    EXPECT_EQ(listWidthStep(false, 380), 0);
}

TEST(LayoutMath, ListShowZoneIsTheRightStripWithoutItsUpperCornerTriangle)
{
    // display 6000 wide: x must pass 5000 and x + y must pass 6000.
    EXPECT_TRUE(inListShowZone(5500, 600, 6000));
    EXPECT_FALSE(inListShowZone(5500, 500, 6000)); // the corner triangle: x + y = 6000
    EXPECT_FALSE(inListShowZone(5000, 3000, 6000)); // the strip's left edge is outside
    EXPECT_TRUE(inListShowZone(5001, 1000, 6000));
    EXPECT_FALSE(inListShowZone(5999, 0, 6000));
}

TEST(LayoutMath, FullScreenZonesAndOverlays)
{
    // A 1920 × 1080 screen at 15 twips per pixel: 28800 × 16200.
    EXPECT_TRUE(inStripZone(0, 300));
    EXPECT_TRUE(inStripZone(349, 300));
    EXPECT_FALSE(inStripZone(350, 300));
    EXPECT_FALSE(inOverlayZone(16200 - 1180, 16200));
    EXPECT_TRUE(inOverlayZone(16200 - 1179, 16200));
    EXPECT_EQ(okiniOverlay(28800, 16200), (Rect{0, 12670, 22810, 3550}));
    EXPECT_EQ(fileOverlay(28800, 16200), (Rect{22810, 12670, 6010, 3550}));
    const StripPlaces s = fullScreenStrip(28800);
    EXPECT_LT(s.time.left + s.time.width, s.seekBar.left);
    EXPECT_LT(s.seekBar.left + s.seekBar.width, s.volume.left);
    EXPECT_LE(s.volume.left + s.volume.width, 28800);
    for (const Rect &r : {s.time, s.seekBar, s.volume})
        EXPECT_LE(r.top + r.height, s.height);
}
