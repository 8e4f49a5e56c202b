#pragma once
// The seek bar's preview pictures in memory: by file and whole second, the least recently
// used given up first, for the last few files used and within a byte budget.

#include "platform/bitmap_file.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <list>
#include <utility>

class PreviewCache
{
public:
    static constexpr qsizetype kDefaultBytes = 64 * 1024 * 1024;
    static constexpr int kDefaultFiles = 4;

    explicit PreviewCache(qsizetype maxBytes = kDefaultBytes, int maxFiles = kDefaultFiles);

    // The picture of the file at that second, when one of this width is held; a find
    // counts as a use of the picture and of its file. Valid until the next insert or clear.
    const platform::RgbImage *find(const QString &file, int second, int width);
    bool contains(const QString &file, int second) const { return m_index.contains({file, second}); }

    // Keeps a picture (replacing the one held for the same second), then gives up the
    // pictures of the files beyond the last maxFiles used, and the least recently used
    // pictures until the pixels fit maxBytes. A picture larger than maxBytes is not kept.
    void insert(const QString &file, int second, platform::RgbImage image);

    void clear();

    // Bytes of pixels held, the pictures held, and the files they belong to, most recent first.
    qsizetype bytes() const { return m_bytes; }
    int count() const { return static_cast<int>(m_entries.size()); }
    QStringList files() const { return m_files; }

private:
    struct Entry
    {
        QString file;
        int second = 0;
        platform::RgbImage image;
    };
    using Entries = std::list<Entry>;

    // The file becomes the most recent; the ones beyond maxFiles are dropped.
    void useFile(const QString &file);
    void erase(Entries::iterator it);
    void dropFile(const QString &file);

    qsizetype m_maxBytes;
    int m_maxFiles;
    qsizetype m_bytes = 0;
    Entries m_entries; // most recently used first
    QHash<std::pair<QString, int>, Entries::iterator> m_index;
    QStringList m_files; // most recently used first
};
