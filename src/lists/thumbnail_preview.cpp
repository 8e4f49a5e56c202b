#include "lists/thumbnail_preview.h"

PreviewRect previewRect(int w, int h, int boxWidth, int boxHeight)
{
    if (w <= 0 || h <= 0)
        return {};
    const double r = double(h) / w;
    const double boxRatio = double(boxHeight) / boxWidth;
    if (r <= boxRatio) {
        const double height = boxWidth * r;
        return {0, (boxHeight - height) / 2, double(boxWidth), height};
    }
    const double width = boxHeight / r;
    return {(boxWidth - width) / 2, 0, width, double(boxHeight)};
}
