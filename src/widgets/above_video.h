#pragma once
// Controls that lie over the picture (the clip masks, the full-screen strip and list
// overlays) are windows of their own: the picture of the OpenGL path is a native window,
// above everything the main window paints itself, and only a native window stacks above
// it. Only the control gets a native window, not its parents nor its siblings (by default
// Qt makes a native widget's siblings native too, and the video area among them would
// then cover the picture).

#include <QCoreApplication>
#include <QWidget>

namespace abovevideo {

inline void makeNative(QWidget *w)
{
    if (!w->testAttribute(Qt::WA_NativeWindow)) {
        QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
        w->setAttribute(Qt::WA_DontCreateNativeAncestors);
        w->setAttribute(Qt::WA_NativeWindow);
    }
}

inline void raiseAboveVideo(QWidget *w)
{
    makeNative(w);
    w->raise();
}

} // namespace abovevideo
