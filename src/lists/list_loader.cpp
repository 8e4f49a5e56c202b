#include "lists/list_loader.h"

#include "lists/list_file.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

ListLoader::ListLoader(QObject *parent) : QObject(parent) {}

ListLoader::~ListLoader() = default;

QString ListLoader::file() const
{
    return m_load ? m_load->file : QString();
}

bool ListLoader::load(const QString &listFile, AddEntry add)
{
    complete(); // a list still loading is read to its end first
    if (!platform::normalEntryExists(listFile) || !QFileInfo(listFile).isFile())
        return false;
    auto lines = platform::readTextLines(listFile);
    if (!lines)
        return false;
    m_load = std::make_unique<Load>();
    m_load->file = listFile;
    m_load->folder = path::getdirectory(listFile);
    m_load->lines = std::move(*lines);
    m_load->id = ++m_loads;
    m_load->add = std::move(add);
    run(true);
    return true;
}

void ListLoader::complete()
{
    if (m_load)
        run(false);
}

void ListLoader::cancel()
{
    m_load.reset();
}

void ListLoader::run(bool yielding)
{
    const std::uint64_t id = m_load->id;
    Load *load = m_load.get();
    QElapsedTimer slice;
    slice.start();
    bool progressShown = false;
    while (load->next < load->lines.size()) {
        if (const auto entry = listEntry(load->lines.at(load->next++), load->folder)) {
            if (platform::normalEntryExists(entry->first + u'/' + entry->second))
                load->add(entry->first, entry->second);
        }
        if (yielding && slice.elapsed() > kSliceMs) {
            // Whoever hears of the progress, or gets the events, may complete the load (a
            // save of the list waits for its end) or give it up (the list was cleared for
            // another one); then this load is over and `load` is gone.
            const auto gone = [&] { return !m_load || m_load->id != id; };
            const int total = static_cast<int>(load->lines.size());
            const int done = static_cast<int>(load->next);
            if (!progressShown) {
                progressShown = true;
                Q_EMIT progressStarted(total);
                if (gone())
                    return;
            }
            Q_EMIT progressed(done);
            if (gone())
                return;
            QCoreApplication::processEvents();
            if (gone())
                return;
            slice.restart();
        }
    }
    m_load.reset();
    Q_EMIT finished();
}
