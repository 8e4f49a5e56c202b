#include "widgets/save_soon.h"

SaveSoon::SaveSoon(std::function<bool()> save, std::function<bool()> busy, QObject *parent,
                   std::chrono::milliseconds delay)
    : QObject(parent), m_save(std::move(save)), m_busy(std::move(busy)), m_delay(delay)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SaveSoon::due);
}

void SaveSoon::changed()
{
    // The wait starts at the burst's first change and is not put off by the next ones:
    // a change is on disk within the wait and one save.
    if (!m_stopped && !m_timer.isActive())
        m_timer.start(m_delay);
}

void SaveSoon::stop()
{
    m_stopped = true;
    m_timer.stop();
}

void SaveSoon::due()
{
    if (m_stopped)
        return;
    if (m_busy && m_busy()) {
        m_timer.start(std::chrono::milliseconds(250));
        return;
    }
    ++m_saves;
    m_save();
}
