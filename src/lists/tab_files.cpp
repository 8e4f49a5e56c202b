#include "lists/tab_files.h"

#include "platform/path.h"
#include "platform/quoted_records.h"
#include "platform/text_file.h"

std::optional<QList<TabRecord>> readTabFile(const QString &file, const QString &appDir)
{
    const auto bytes = platform::readFileBytes(file);
    if (!bytes)
        return std::nullopt;
    return parseTabFile(*bytes, appDir);
}

QList<TabRecord> parseTabFile(const QByteArray &bytes, const QString &appDir)
{
    QList<TabRecord> records;
    for (const QStringList &r : platform::parseQuotedRecords(bytes, 2))
        records.append({r.at(0), path::getabsolutepath(r.at(1), appDir)});
    return records;
}

bool writeTabFile(const QString &file, const QList<TabRecord> &records, const QString &appDir,
                  bool relative, bool folders)
{
    return platform::writeFileAtomically(file, formatTabFile(records, appDir, relative, folders));
}

QByteArray formatTabFile(const QList<TabRecord> &records, const QString &appDir, bool relative, bool folders)
{
    QList<QStringList> rows;
    for (const TabRecord &r : records) {
        QString tag = r.tag;
        if (relative)
            tag = path::getrelativepath(folders ? path::addbackslash(tag) : tag, appDir);
        rows.append({r.caption, tag});
    }
    return platform::formatQuotedRecords(rows);
}
