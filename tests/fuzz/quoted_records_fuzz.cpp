// Quoted-record files (tabdir.ini, TabM3u.ini, searchData.ini; one value per line as in
// resume.ini and key.ini). Every record has its number of fields, and the records read,
// formatted and read again, are the same: any field the reader gives (it never holds a
// line break) survives a save and a load. The tab files as well, with their paths
// resolved against the program folder and written back absolute or relative to it (the
// same paths: a "//" may come back as "/").
#include "lists/tab_files.h"
#include "platform/path.h"
#include "platform/quoted_records.h"

#include "fuzz_support.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// The program folder: a real one two levels down, so that "../" paths have a parent.
const QString &appDir()
{
    static QTemporaryDir root;
    static const QString folder = [] {
        QDir(root.path()).mkpath(QStringLiteral("app"));
        return root.path() + QStringLiteral("/app/");
    }();
    return folder;
}

std::string shown(const QList<QStringList> &records)
{
    std::string out;
    for (const QStringList &r : records)
        out += fuzz::shown(r) + "\n";
    return out;
}

// The records with each path as one path.
QList<TabRecord> samePaths(QList<TabRecord> records)
{
    for (TabRecord &r : records)
        r.tag = fuzz::samePath(r.tag);
    return records;
}

std::string shown(const QList<TabRecord> &records)
{
    std::string out;
    for (const TabRecord &r : records)
        out += fuzz::shown(r.caption) + " " + fuzz::shown(r.tag) + "\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);

    for (const int count : {1, 2, 3}) {
        const QList<QStringList> records = platform::parseQuotedRecords(bytes, count);
        for (const QStringList &r : records) {
            FUZZ_CHECK(r.size() == count, fuzz::shown(r));
            for (const QString &field : r)
                FUZZ_CHECK(!field.contains(u'\r') && !field.contains(u'\n'), fuzz::shown(field));
        }
        const QByteArray saved = platform::formatQuotedRecords(records);
        const QList<QStringList> back = platform::parseQuotedRecords(saved, count);
        FUZZ_CHECK(back == records, "read:\n" + shown(records) + "saved:\n" + fuzz::shown(saved)
                                        + "\nread back:\n" + shown(back));
    }

    const QString &app = appDir();
    const QList<TabRecord> tabs = parseTabFile(bytes, app);
    for (const bool relative : {false, true}) {
        const QByteArray saved = formatTabFile(tabs, app, relative, false);
        const QList<TabRecord> back = parseTabFile(saved, app);
        FUZZ_CHECK(samePaths(back) == samePaths(tabs), std::string(relative ? "relative" : "absolute") + "\nread:\n" + shown(tabs)
                                     + "saved:\n" + fuzz::shown(saved) + "\nread back:\n" + shown(back));
    }
    // Folder tabs are written with their trailing "/".
    const QByteArray saved = formatTabFile(tabs, app, true, true);
    const QList<TabRecord> back = parseTabFile(saved, app);
    FUZZ_CHECK(back.size() == tabs.size(), fuzz::shown(saved));
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        FUZZ_CHECK(back.at(i).caption == tabs.at(i).caption, shown(tabs) + shown(back));
        FUZZ_CHECK(fuzz::samePath(back.at(i).tag) == fuzz::samePath(path::addbackslash(tabs.at(i).tag)),
                   fuzz::shown(tabs.at(i).tag) + " -> " + fuzz::shown(saved) + " -> " + fuzz::shown(back.at(i).tag));
    }
    return 0;
}
