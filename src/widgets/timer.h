#pragma once
// A timer with the switch of the main window's timers: enabling a running timer leaves its
// countdown alone.

#include <QTimer>

class Timer : public QTimer
{
    Q_OBJECT
public:
    using QTimer::QTimer;

    bool enabled() const { return isActive(); }
    void setEnabled(bool on)
    {
        if (!on)
            stop();
        else if (!isActive())
            start();
    }
};
