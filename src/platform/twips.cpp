#include "platform/twips.h"

#include "platform/my_module.h"

#include <QWidget>

#include <cmath>

namespace twips {

namespace {
int toPixels(int tw, int perPixel)
{
    return static_cast<int>(std::lround(static_cast<double>(tw) / perPixel));
}
} // namespace

int toPixelsX(int tw) { return toPixels(tw, myModule::twipsPerPixelX); }
int toPixelsY(int tw) { return toPixels(tw, myModule::twipsPerPixelY); }
int fromPixelsX(int px) { return px * myModule::twipsPerPixelX; }
int fromPixelsY(int px) { return px * myModule::twipsPerPixelY; }

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(toPixelsX(left), toPixelsY(top), std::max(0, toPixelsX(width)),
                   std::max(0, toPixelsY(height)));
}

int left(const QWidget *w) { return fromPixelsX(w->x()); }
int top(const QWidget *w) { return fromPixelsY(w->y()); }
int width(const QWidget *w) { return fromPixelsX(w->width()); }
int height(const QWidget *w) { return fromPixelsY(w->height()); }

void setLeft(QWidget *w, int v) { w->move(toPixelsX(v), w->y()); }
void setTop(QWidget *w, int v) { w->move(w->x(), toPixelsY(v)); }
void setWidth(QWidget *w, int v) { w->resize(std::max(0, toPixelsX(v)), w->height()); }
void setHeight(QWidget *w, int v) { w->resize(w->width(), std::max(0, toPixelsY(v))); }

} // namespace twips
