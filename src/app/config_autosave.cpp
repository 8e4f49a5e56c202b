#include "app/config_autosave.h"

ConfigAutosave::ConfigAutosave(std::function<ConfigValues()> gather, QString file, QObject *parent)
    : QObject(parent), m_gather(std::move(gather)), m_file(std::move(file))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ConfigAutosave::check);
}

void ConfigAutosave::start()
{
    m_written = m_gather();
    m_started = true;
    m_timer.start();
}

void ConfigAutosave::stop()
{
    m_started = false;
    m_timer.stop();
}

void ConfigAutosave::check()
{
    if (!m_started)
        return;
    if (m_moved.isValid() && m_moved.elapsed() < 1000)
        return; // the window is still being moved or sized
    const ConfigValues now = m_gather();
    if (now == m_written)
        return;
    ++m_writes;
    // A failed write keeps the old file; the next look tries again.
    if (saveConfigFile(now, m_file))
        m_written = now;
}
