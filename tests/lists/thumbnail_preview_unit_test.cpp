// Where a picture stands in the 100 × 75 thumbnail preview.
#include "lists/thumbnail_preview.h"

#include <gtest/gtest.h>

TEST(ThumbnailPreview, WidePicturesFillTheWidthTallOnesTheHeight)
{
    EXPECT_EQ(previewRect(200, 100), (PreviewRect{0, 12.5, 100, 50}));
    EXPECT_EQ(previewRect(100, 200), (PreviewRect{31.25, 0, 37.5, 75}));
    EXPECT_EQ(previewRect(640, 480), (PreviewRect{0, 0, 100, 75})) << "3:4 exactly fills the box";
    EXPECT_EQ(previewRect(1, 1), (PreviewRect{12.5, 0, 75, 75}));
    EXPECT_EQ(previewRect(0, 10), PreviewRect{});
    EXPECT_EQ(previewRect(10, -1), PreviewRect{});
}
