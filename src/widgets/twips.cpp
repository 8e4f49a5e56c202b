#include "widgets/twips.h"

#include "platform/my_module.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace myModule {

void initScreenMetrics(const QWidget *window)
{
    const QScreen *screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 0.0;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 0.0;
    if (window && window->isWindow()
        && ((window->windowFlags() & Qt::FramelessWindowHint) || window->isFullScreen()
            || window->isMaximized())) {
        // A window without its decoration has no frame to measure, and a maximised one has
        // the window manager's maximised frame (often without borders): the frame it has
        // as a normal decorated window is kept.
        const int caption = captionHeight, fw = frameWidth, fh = frameHeight;
        setScreenMetrics(dpiX, dpiY);
        captionHeight = caption;
        frameWidth = fw;
        frameHeight = fh;
    } else if (window && window->isWindow() && window->testAttribute(Qt::WA_Mapped)) {
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        setScreenMetrics(dpiX, dpiY, &outer, &inner);
    } else {
        setScreenMetrics(dpiX, dpiY);
    }
}

} // namespace myModule

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
