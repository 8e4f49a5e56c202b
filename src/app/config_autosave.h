#pragma once
// config.ini kept on disk as the options and the window change: every second the values
// the rooms would save are gathered (without leaving full screen or mini mode, as the
// shutdown's save does), and written once when they differ from the file's last write and
// the window's rectangle has settled (no move or resize in the last second). Shutdown still
// writes the file itself.

#include "widgets/config_values.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ConfigAutosave : public QObject
{
    Q_OBJECT
public:
    ConfigAutosave(std::function<ConfigValues()> gather, QString file, QObject *parent);

    // Starts keeping the file, from the values it has now.
    void start();
    void stop();
    // The window moved or was resized: its rectangle is written once it has settled.
    void windowMoved() { m_moved.restart(); }
    // The writes made, for the tests.
    int writes() const { return m_writes; }
    // Looks now (the timer does every second).
    void check();

private:
    std::function<ConfigValues()> m_gather;
    QString m_file;
    QTimer m_timer;
    QElapsedTimer m_moved;
    ConfigValues m_written;
    bool m_started = false;
    int m_writes = 0;
};
