#include "window/preview_cache.h"

#include <algorithm>
#include <iterator>

PreviewCache::PreviewCache(qsizetype maxBytes, int maxFiles) : m_maxBytes(maxBytes), m_maxFiles(std::max(1, maxFiles))
{
}

const platform::RgbImage *PreviewCache::find(const QString &file, int second, int width)
{
    const auto it = m_index.constFind({file, second});
    if (it == m_index.constEnd() || it.value()->image.width != width)
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, it.value());
    useFile(file);
    return &m_entries.front().image;
}

void PreviewCache::insert(const QString &file, int second, platform::RgbImage image)
{
    if (const auto old = m_index.constFind({file, second}); old != m_index.constEnd())
        erase(old.value());
    const qsizetype size = image.pixels.size();
    if (size > m_maxBytes)
        return;
    m_entries.push_front(Entry{file, second, std::move(image)});
    m_index.insert({file, second}, m_entries.begin());
    m_bytes += size;
    useFile(file);
    while (m_bytes > m_maxBytes && !m_entries.empty()) {
        const QString owner = m_entries.back().file;
        erase(std::prev(m_entries.end()));
        // A file whose last picture went is no longer among the files held.
        if (std::none_of(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.file == owner; }))
            m_files.removeAll(owner);
    }
}

void PreviewCache::clear()
{
    m_entries.clear();
    m_index.clear();
    m_files.clear();
    m_bytes = 0;
}

void PreviewCache::useFile(const QString &file)
{
    if (!m_files.isEmpty() && m_files.front() == file)
        return;
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > m_maxFiles)
        dropFile(m_files.takeLast());
}

void PreviewCache::erase(Entries::iterator it)
{
    m_bytes -= it->image.pixels.size();
    m_index.remove({it->file, it->second});
    m_entries.erase(it);
}

void PreviewCache::dropFile(const QString &file)
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const auto next = std::next(it);
        if (it->file == file)
            erase(it);
        it = next;
    }
}
