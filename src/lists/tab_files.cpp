#include "lists/tab_files.h"

#include "platform/path.h"
#include "platform/quoted_records.h"

std::optional<QList<TabRecord>> readTabFile(const QString &file, const QString &appDir)
{
    const auto rows = platform::readQuotedRecords(file, 2);
    if (!rows)
        return std::nullopt;
    QList<TabRecord> records;
    for (const QStringList &r : *rows)
        records.append({r.at(0), path::getabsolutepath(r.at(1), appDir)});
    return records;
}

bool writeTabFile(const QString &file, const QList<TabRecord> &records, const QString &appDir,
                  bool relative, bool folders)
{
    QList<QStringList> rows;
    for (const TabRecord &r : records) {
        QString tag = r.tag;
        if (relative)
            tag = path::getrelativepath(folders ? path::addbackslash(tag) : tag, appDir);
        rows.append({r.caption, tag});
    }
    return platform::writeQuotedRecords(file, rows);
}
