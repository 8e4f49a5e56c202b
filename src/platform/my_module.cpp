#include "platform/my_module.h"

#include <QFileInfo>

#include <algorithm>

#include <cmath>

namespace myModule {

int twipsPerPixelX = 15;
int twipsPerPixelY = 15;
int captionHeight = 0;
int frameWidth = 0;
int frameHeight = 0;

int twipsPerPixelForDpi(double dpi)
{
    if (!(dpi > 0.0))
        return 15;
    const int v = static_cast<int>(std::lround(1440.0 / dpi));
    return v > 0 ? v : 1;
}

void setScreenMetrics(double logicalDpiX, double logicalDpiY, const QRect *outer, const QRect *inner)
{
    twipsPerPixelX = twipsPerPixelForDpi(logicalDpiX);
    twipsPerPixelY = twipsPerPixelForDpi(logicalDpiY);
    captionHeight = frameWidth = frameHeight = 0;
    if (outer && inner) {
        const int side = (outer->width() - inner->width()) / 2;
        const int bottom = outer->bottom() - inner->bottom();
        const int top = inner->top() - outer->top();
        frameWidth = std::max(0, side) * twipsPerPixelX;
        frameHeight = std::max(0, bottom) * twipsPerPixelY;
        captionHeight = std::max(0, top - bottom) * twipsPerPixelY;
    }
}

QString expandLongPath(const QString &path)
{
    QString text = path + u'/';
    qsizetype p = text.indexOf(u'/');
    while (p >= 0 && p < text.size() - 1) {
        const qsizetype q = text.indexOf(u'/', p + 1);
        if (q < 0)
            break;
        const QString upTo = text.left(q);
        const QFileInfo info(upTo);
        // A directory search for "a/b/c" yields the entry's own name, "c", or nothing.
        const QString found = (q > p + 1 && (info.exists() || info.isSymLink()))
                                  ? text.mid(p + 1, q - p - 1)
                                  : QString();
        text = text.left(p + 1) + found + text.mid(q);
        p = text.indexOf(u'/', p + 1);
    }
    text.chop(1);
    return text;
}

} // namespace myModule
