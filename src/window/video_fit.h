#pragma once
// The arithmetic of fitting the picture into the video area `display` and of the two clip
// masks over it. Sizes of the area are in twips, the video window's place in pixels. The
// handlers in VideoArea measure the controls, call these and write the results back.

#include "widgets/layout_math.h"

#include <optional>

namespace videofit {

// The same rectangles and sizes as the layout's.
using Rect = layout::Rect;
using Size = layout::Size;

// The video window inside `display` (displayWidth × displayHeight twips), in pixels at
// twipsX/twipsY twips per pixel. With keepAspect the picture is enlarged with the source's
// aspect ratio and centred; otherwise, and whenever the source or the area has no size (no
// division by zero), it covers the whole area.
Rect videoWindow(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect,
                 int twipsX, int twipsY);

// One clip mask (twips, relative to `display`): its top and height. `percent` is the
// slider's value; 0 means no mask (height 0). With keepAspect the mask is a percentage of
// the picture's height when fitted to the width and lies on the picture's edge when the
// picture is letterboxed; otherwise a percentage of the area's height at its edge.
struct Mask
{
    int top = 0;
    int height = 0;
    bool operator==(const Mask &o) const = default;
};
Mask upperClip(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect, int percent);
Mask underClip(int displayWidth, int displayHeight, int sourceWidth, int sourceHeight, bool keepAspect, int percent);

// The video area's size (twips) for showing the video at `scale`: the source at one screen
// pixel per source pixel, or, while the source size is unknown (0), a 1.3 : 1 area as high
// as the current one.
Size scaledVideoSize(int displayHeight, int sourceWidth, int sourceHeight, int twipsX, int twipsY, double scale);

// A video area of `video` with `chrome` round it (the window's frame, the control bar, the
// list pane) that would not fit in `available` (the screen's work area) shrinks by one
// factor, keeping its aspect, until the whole window fits. A video area that fits, or an
// unknown work area (0), is left as it is.
Size fitToAvailable(Size video, Size chrome, Size available);

// The RealMedia control's rectangle inside `display` (twips, relative to it): the whole
// area, or with keepAspect the clip's picture enlarged and centred. A clip without a size
// (or an area without one) fills the area.
Rect realMediaRect(int displayWidth, int displayHeight, int clipWidth, int clipHeight, bool keepAspect);

// The video area's height that gives the picture's aspect at the area's width (the
// window-size optimisation); nullopt before the source's size is known.
std::optional<int> optimizedHeight(int displayWidth, int sourceWidth, int sourceHeight);

// The scale one step of Page Up (larger) or Page Down gives a video area `displayWidth`
// twips wide showing a picture `pictureWidth` pixels wide, at twipsX twips per pixel: the
// scale it shows now, displayWidth / (twipsX × w), 100 screen pixels of picture width more or
// less. nullopt for a picture without a width (or no twips per pixel).
std::optional<double> steppedScale(int displayWidth, int twipsX, int pictureWidth, bool larger);

} // namespace videofit
