#pragma once
// Keys as the windowing system delivers them: to the main window's native window, which
// hands them to the widget with the focus.

#include "app/player.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

namespace keytest {

inline void send(Player &p, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 bool autoRepeat = false)
{
    QKeyEvent e(type, key, modifiers, 0, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(p.windowHandle(), &e);
}
// A key event with the time the windowing system stamped on it.
inline void sendAt(Player &p, QEvent::Type type, Qt::Key key, quint64 time, bool autoRepeat = false)
{
    QKeyEvent e(type, key, Qt::NoModifier, 0, 0, 0, QString(), autoRepeat);
    e.setTimestamp(time);
    QCoreApplication::sendEvent(p.windowHandle(), &e);
}
inline void press(Player &p, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    send(p, QEvent::KeyPress, key, modifiers, autoRepeat);
}
inline void release(Player &p, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    send(p, QEvent::KeyRelease, key, modifiers, autoRepeat);
}
inline void tap(Player &p, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    press(p, key, modifiers);
    release(p, key, modifiers);
}

} // namespace keytest
