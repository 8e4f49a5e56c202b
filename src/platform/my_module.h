#pragma once
// Module myModule: screen metrics in twips and the long form of a path.

#include <QRect>
#include <QString>

namespace myModule {

// Twips per pixel, horizontal and vertical: round(1440 / logical DPI), 15 at 96 DPI.
extern int twipsPerPixelX;
extern int twipsPerPixelY;
// Height of the window manager's caption bar and width / height of its frame, in twips;
// 0 where there is no window manager or the window is not yet mapped.
extern int captionHeight;
extern int frameWidth;
extern int frameHeight;

// Fills the five values: the twips scale from the screen's logical DPI; the caption and
// frame sizes from the decoration that the window manager put around a mapped window
// (its frame rectangle `outer` minus its client rectangle `inner`, in pixels). Without
// a mapped window (outer and inner null) there is no frame. The window-side caller is
// myModule::initScreenMetrics in window/twips.h.
void setScreenMetrics(double logicalDpiX, double logicalDpiY, const QRect *outer = nullptr,
                      const QRect *inner = nullptr);

// Pure part of initScreenMetrics: twips per pixel for a logical DPI (15 when unknown).
int twipsPerPixelForDpi(double dpi);

// The long form of a path: each "/"-separated component is replaced by the name that a
// directory search for the path up to it finds. On Linux a name is found only as it
// is spelled, so an existing component stays and a missing one becomes empty.
QString expandLongPath(const QString &path);

} // namespace myModule
