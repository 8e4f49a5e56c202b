// Fitting the picture into the video area and the clip masks, at 15 twips per pixel.
#include "window/video_fit.h"

#include <gtest/gtest.h>

using namespace videofit;

TEST(VideoFit, KeepAspectCentresAcrossInAWideArea)
{
    EXPECT_EQ(videoWindow(6000, 3600, 320, 240, true, 15, 15), (Rect{40, 0, 320, 240}));
}

TEST(VideoFit, KeepAspectCentresUpAndDownInATallArea)
{
    EXPECT_EQ(videoWindow(4800, 6000, 320, 240, true, 15, 15), (Rect{0, 80, 320, 240}));
}

TEST(VideoFit, KeepAspectWithTheSameAspectFillsTheArea)
{
    EXPECT_EQ(videoWindow(4800, 3600, 320, 240, true, 15, 15), (Rect{0, 0, 320, 240}));
}

TEST(VideoFit, WithoutKeepAspectThePictureCoversTheArea)
{
    EXPECT_EQ(videoWindow(6000, 3600, 320, 240, false, 15, 15), (Rect{0, 0, 400, 240}));
    EXPECT_EQ(videoWindow(4800, 6000, 320, 240, false, 15, 15), (Rect{0, 0, 320, 400}));
}

TEST(VideoFit, NoSizeMeansTheWholeArea)
{
    EXPECT_EQ(videoWindow(6000, 3600, 0, 0, true, 15, 15), (Rect{0, 0, 400, 240}));
    EXPECT_EQ(videoWindow(6000, 3600, 320, 0, true, 15, 15), (Rect{0, 0, 400, 240}));
    EXPECT_EQ(videoWindow(6000, 3600, 0, 240, true, 15, 15), (Rect{0, 0, 400, 240}));
    EXPECT_EQ(videoWindow(0, 3600, 320, 240, true, 15, 15), (Rect{0, 0, 0, 240}));
    EXPECT_EQ(videoWindow(6000, 0, 320, 240, true, 15, 15), (Rect{0, 0, 400, 0}));
    EXPECT_EQ(videoWindow(0, 0, 320, 240, true, 15, 15), (Rect{}));
}

TEST(VideoFit, RoundsToTheNearestPixel)
{
    // 1000 × 1000 twips at 15 per pixel is 66.67 px.
    EXPECT_EQ(videoWindow(1000, 1000, 1, 1, false, 15, 15), (Rect{0, 0, 67, 67}));
    // A 16:9 source in a square area: 1000 × 562.5 twips, 218.75 twips from the top.
    EXPECT_EQ(videoWindow(1000, 1000, 16, 9, true, 15, 15), (Rect{0, 15, 67, 38}));
}

TEST(VideoFit, ClipWithKeepAspectInALetterbox)
{
    // The picture is 3600 high, from 1200 to 4800.
    EXPECT_EQ(upperClip(4800, 6000, 320, 240, true, 10), (Mask{1200, 360}));
    EXPECT_EQ(underClip(4800, 6000, 320, 240, true, 10), (Mask{4440, 360}));
}

TEST(VideoFit, ClipWithKeepAspectFittedToTheHeightStillTakesTheWidthFittedHeight)
{
    // The picture height for fit-to-width is 6000 × 0.75 = 4500, also here.
    EXPECT_EQ(upperClip(6000, 3600, 320, 240, true, 10), (Mask{0, 450}));
    EXPECT_EQ(underClip(6000, 3600, 320, 240, true, 10), (Mask{3150, 450}));
}

TEST(VideoFit, ClipWithoutKeepAspectIsAShareOfTheArea)
{
    EXPECT_EQ(upperClip(6000, 3600, 320, 240, false, 10), (Mask{0, 360}));
    EXPECT_EQ(underClip(6000, 3600, 320, 240, false, 10), (Mask{3240, 360}));
    EXPECT_EQ(upperClip(4800, 6000, 320, 240, false, 25), (Mask{0, 1500}));
    EXPECT_EQ(underClip(4800, 6000, 320, 240, false, 25), (Mask{4500, 1500}));
}

TEST(VideoFit, ClipAtZeroIsNoMask)
{
    EXPECT_EQ(upperClip(6000, 3600, 320, 240, true, 0), (Mask{}));
    EXPECT_EQ(underClip(6000, 3600, 320, 240, false, 0), (Mask{}));
}

TEST(VideoFit, ClipWithKeepAspectButNoSourceSizeIsAShareOfTheArea)
{
    EXPECT_EQ(upperClip(6000, 3600, 0, 0, true, 10), (Mask{0, 360}));
    EXPECT_EQ(underClip(6000, 3600, 0, 0, true, 10), (Mask{3240, 360}));
    EXPECT_EQ(underClip(0, 3600, 320, 240, true, 10), (Mask{3240, 360}));
}

TEST(VideoFit, ScaleOfTheSource)
{
    EXPECT_EQ(scaledVideoSize(3240, 640, 480, 15, 15, 0.5), (Size{4800, 3600}));
    EXPECT_EQ(scaledVideoSize(3240, 640, 480, 15, 15, 1.0), (Size{9600, 7200}));
    EXPECT_EQ(scaledVideoSize(3240, 320, 240, 15, 15, 1.5), (Size{7200, 5400}));
}

TEST(VideoFit, ScaleBeforeTheSizeIsKnownIsAWideAreaAsHighAsTheDisplay)
{
    EXPECT_EQ(scaledVideoSize(3600, 0, 0, 15, 15, 1.0), (Size{4680, 3600}));
    EXPECT_EQ(scaledVideoSize(3600, 0, 0, 15, 15, 0.5), (Size{2340, 1800}));
}

TEST(VideoFit, ScaleKeepsThirtyTwoBitTwipsAndShrinksToTheScreenByOneFactor)
{
    // 1920 px at 15 twips per pixel and 200 % is 57600 twips: no 16-bit limit.
    EXPECT_EQ(scaledVideoSize(3600, 1920, 1080, 15, 15, 2.0), (Size{57600, 32400}));
    // On a 1920 × 1040 work area with 600 × 1200 round the video, the aspect stays.
    const Size fitted = fitToAvailable({57600, 32400}, {600, 1200}, {28800, 15600});
    EXPECT_EQ(fitted, (Size{25600, 14400}));
    EXPECT_LE(fitted.width + 600, 28800);
    EXPECT_LE(fitted.height + 1200, 15600);
    // What fits, or an unknown work area, is left alone.
    EXPECT_EQ(fitToAvailable({4800, 3600}, {600, 1200}, {28800, 15600}), (Size{4800, 3600}));
    EXPECT_EQ(fitToAvailable({57600, 32400}, {600, 1200}, {0, 0}), (Size{57600, 32400}));
}

TEST(VideoFit, RealMediaPictureIsLetterboxedOrPillarboxedInTwips)
{
    EXPECT_EQ(realMediaRect(6000, 3600, 320, 240, true), (Rect{600, 0, 4800, 3600}));
    EXPECT_EQ(realMediaRect(4800, 6000, 320, 240, true), (Rect{0, 1200, 4800, 3600}));
    EXPECT_EQ(realMediaRect(6000, 3600, 320, 240, false), (Rect{0, 0, 6000, 3600}));
    EXPECT_EQ(realMediaRect(6000, 3600, 0, 0, true), (Rect{0, 0, 6000, 3600}));
}

TEST(VideoFit, OptimizedHeightFollowsTheSourceAspectOnlyOnceKnown)
{
    EXPECT_EQ(optimizedHeight(4800, 320, 240), 3600);
    EXPECT_EQ(optimizedHeight(4800, 1920, 1080), 2700);
    EXPECT_EQ(optimizedHeight(4800, 0, 0), std::nullopt);
}
