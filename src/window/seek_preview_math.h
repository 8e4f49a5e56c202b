#pragma once
// The arithmetic of the seek bar's preview: the second whose frame a pointer on the seek
// bar (or the full-screen bar) stands for, the picture's width in device pixels, and the
// preview's place on the screen.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace preview {

// The picture's width in logical pixels; its height follows the file's aspect.
constexpr int kPictureWidth = 160;
// Between the preview and the bar, in logical pixels.
constexpr int kGap = 4;

// The whole second a pointer at x (twips from the seek bar's left edge) stands for: where
// a click there seeks (the track 160 twips in from either end; an ordinary file's position
// rounded to whole seconds, RealMedia's to milliseconds), kept within [0, duration] and cut
// to its whole second. nullopt while the length is not known.
std::optional<int> seekBarSecond(int xTw, int widthTw, double durationSeconds, bool realMedia);

// The same for the full-screen bar, whose pointer arithmetic has no margins: round(x / width
// × length) in seek-bar units (milliseconds for RealMedia, hundredths otherwise).
std::optional<int> fullScreenSecond(int xTw, int widthTw, double durationSeconds, bool realMedia);

// The picture's width in device pixels on a screen with this device pixel ratio.
int pictureWidth(double devicePixelRatio);

// The top-left corner of a preview of this size for a pointer at pointerX over a bar whose
// top and bottom (exclusive) are barTop and barBottom, all in screen coordinates: centred on
// the pointer, kGap above the bar, or below it when the screen leaves no room above (the
// full-screen strip at the top of the screen); moved sideways, and up or down, to stay
// inside the screen.
QPoint place(int pointerX, int barTop, int barBottom, QSize size, const QRect &screen);

} // namespace preview
