#pragma once
// tabdir.ini and TabM3u.ini: the tabs after the fixed first one, one quoted record per
// line: the caption, then the folder (directory tabs) or the list file (favourites tabs).

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct TabRecord
{
    QString caption;
    QString tag;
    bool operator==(const TabRecord &o) const { return caption == o.caption && tag == o.tag; }
};

// The records of a tab file, their paths resolved against the program folder; nullopt when
// the file does not exist or cannot be read.
std::optional<QList<TabRecord>> readTabFile(const QString &file, const QString &appDir);
// The records of a tab file's bytes, their paths resolved against the program folder.
QList<TabRecord> parseTabFile(const QByteArray &bytes, const QString &appDir);

// Writes the records; with `relative` the paths go relative to the program folder, a
// folder first given its trailing "/" (so a folder under the program folder is written
// as ./movies/). False when the file cannot be written; the old file then stays.
bool writeTabFile(const QString &file, const QList<TabRecord> &records, const QString &appDir,
                  bool relative, bool folders);
// The bytes writeTabFile writes.
QByteArray formatTabFile(const QList<TabRecord> &records, const QString &appDir, bool relative, bool folders);
