#pragma once
// A state file saved soon after it changes: the first change of a burst starts a short
// wait, and one save at its end writes everything the burst changed (a thousand entries
// added are one write, not a thousand). While the file's owner is busy (a list still being
// read) the save waits a little more. A save that fails leaves the old file; the next
// change tries again. Shutdown writes every file itself: it stops these first.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class SaveSoon : public QObject
{
    Q_OBJECT
public:
    // `save` writes the file and tells whether it could; `busy`, when given, holds the save
    // back while it answers true.
    SaveSoon(std::function<bool()> save, std::function<bool()> busy, QObject *parent,
             std::chrono::milliseconds delay = std::chrono::milliseconds(1000));

    // Something the file holds changed.
    void changed();
    bool isPending() const { return m_timer.isActive(); }
    // The save due is not wanted (the file was just written otherwise).
    void cancel() { m_timer.stop(); }
    // No save any more (shutdown writes the file itself).
    void stop();
    // Saves made (also failed ones), for the tests of the debounce.
    int saves() const { return m_saves; }

private:
    void due();

    std::function<bool()> m_save;
    std::function<bool()> m_busy;
    std::chrono::milliseconds m_delay;
    QTimer m_timer;
    bool m_stopped = false;
    int m_saves = 0;
};
