#pragma once
// Child controls of the main window are placed in twips (1/1440 inch), the window's own
// coordinate unit; Qt takes pixels. These helpers convert with myModule's twips per pixel
// (rounded to the nearest pixel) and read positions back in twips.

class QWidget;

namespace myModule {
// Fills myModule's screen metrics for a window: the twips scale from its screen's (or the
// primary screen's) logical DPI, the caption and frame sizes from the window manager's
// decoration once the window is mapped.
void initScreenMetrics(const QWidget *window = nullptr);
} // namespace myModule

namespace twips {

int toPixelsX(int tw);
int toPixelsY(int tw);
int fromPixelsX(int px);
int fromPixelsY(int px);

// Places the widget at a rectangle given in twips, relative to its parent.
void place(QWidget *w, int left, int top, int width, int height);

int left(const QWidget *w);
int top(const QWidget *w);
int width(const QWidget *w);
int height(const QWidget *w);

void setLeft(QWidget *w, int v);
void setTop(QWidget *w, int v);
void setWidth(QWidget *w, int v);
void setHeight(QWidget *w, int v);

} // namespace twips
