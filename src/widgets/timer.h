#pragma once
// A timer with the switch and the Tag of the main window's timers: enabling a running
// timer leaves its countdown alone, and Tag holds a text that handlers share.

#include <QTimer>

class Timer : public QTimer
{
    Q_OBJECT
public:
    using QTimer::QTimer;
    QString Tag;

    bool enabled() const { return isActive(); }
    void setEnabled(bool on)
    {
        if (!on)
            stop();
        else if (!isActive())
            start();
    }
};
