// okini.ini and m3u files. Every line resolves to "" or an absolute path (a comment stays
// the comment it is), and the entries read from a list, saved with absolute or with
// relative paths, read back as the same files in the same order (a "//" in a path may
// come back as "/": a save writes the folder and the name with one "/" between them).
#include "lists/list_file.h"
#include "platform/text_file.h"

#include "fuzz_support.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

// The list file's folder: a real one two levels down, so that "../" lines have a parent.
const QString &listFolder()
{
    static QTemporaryDir root;
    static const QString folder = [] {
        QDir(root.path()).mkpath(QStringLiteral("lists"));
        return root.path() + QStringLiteral("/lists");
    }();
    return folder;
}

// The entries' files, each as one path.
QStringList paths(const QList<ListEntry> &entries)
{
    QStringList out;
    for (const ListEntry &e : entries)
        out.append(fuzz::samePath(e.first + u'/' + e.second));
    return out;
}

std::string shown(const QList<ListEntry> &entries)
{
    std::string out;
    for (const ListEntry &e : entries)
        out += fuzz::shown(e.first) + " " + fuzz::shown(e.second) + "\n";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString &folder = listFolder();

    for (const QString &line : platform::decodeLines(bytes)) {
        const QString resolved = resolveListLine(line, folder);
        if (line.startsWith(u'#'))
            FUZZ_CHECK(resolved == line, fuzz::shown(line) + " -> " + fuzz::shown(resolved));
        else
            FUZZ_CHECK(resolved.isEmpty() || resolved.startsWith(u'/'),
                       fuzz::shown(line) + " -> " + fuzz::shown(resolved));
    }

    // A line ending in "/" names a folder, not a media file: no entry a save keeps.
    const QList<ListEntry> entries = parseListFile(bytes, folder);
    QList<ListEntry> files;
    for (const ListEntry &e : entries)
        if (!e.second.isEmpty())
            files.append(e);
    for (const bool relative : {false, true}) {
        const QByteArray saved = formatListFile(entries, folder, relative);
        const QList<ListEntry> back = parseListFile(saved, folder);
        FUZZ_CHECK(paths(back) == paths(files), std::string(relative ? "relative" : "absolute") + "\nread:\n" + shown(files)
                                      + "saved:\n" + fuzz::shown(saved) + "\nread back:\n" + shown(back));
    }
    return 0;
}
