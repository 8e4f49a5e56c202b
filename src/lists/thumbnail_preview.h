#pragma once
// Where a picture stands in the 100 × 75 thumbnail preview: it keeps its aspect ratio,
// fills the width when it is at most 3:4 high for its width (centred vertically), else
// the height (centred horizontally).

struct PreviewRect
{
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const PreviewRect &o) const = default;
};

// The rectangle for a picture of w × h pixels in a box of boxWidth × boxHeight (100 × 75);
// an empty rectangle for a picture without pixels.
PreviewRect previewRect(int w, int h, int boxWidth = 100, int boxHeight = 75);
