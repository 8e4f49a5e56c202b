// INI profiles (config.ini, color.ini). The input is a section, a key and a value, each
// ended by a NUL byte, then the file's bytes. Setting the value and reading it back (after
// a save and a load) gives the value as a 256-byte buffer holds it (at most 255 bytes; a
// value cannot hold a line break, so what follows one is not kept); every other line of the
// file stays as it was, and a save and a load keep every line. config.ini's folders read
// from the file, written into it and read again are the same, and after one save and load
// a second changes no value.
#include "widgets/config_values.h"
#include "platform/profile.h"

#include "fuzz_support.h"

namespace {

// The part of the input up to the next NUL (or its end), from `at`.
QByteArray nextPart(const QByteArray &input, qsizetype &at)
{
    const qsizetype end = input.indexOf('\0', at);
    const QByteArray part = input.mid(at, (end < 0 ? input.size() : end) - at);
    at = end < 0 ? input.size() : end + 1;
    return part;
}

// A section or key name as the program names them: no brackets, no "=", no line breaks,
// no blanks at either end.
QString name(const QByteArray &bytes, const QString &forbidden)
{
    QString n = QString::fromUtf8(bytes);
    n.removeIf([&](QChar c) { return forbidden.contains(c) || c == u'\r' || c == u'\n'; });
    return n.trimmed();
}

// Whether `after` is `before` with one line changed, one line added, or "[section]" and one
// line added at the end.
bool otherLinesKept(const QStringList &before, const QStringList &after, const QString &section)
{
    const qsizetype n = before.size();
    if (after.size() == n) {
        int changed = 0;
        for (qsizetype i = 0; i < n; ++i)
            changed += before.at(i) != after.at(i);
        return changed <= 1;
    }
    if (after.size() == n + 1) {
        qsizetype p = 0;
        while (p < n && before.at(p) == after.at(p))
            ++p;
        QStringList without = after;
        without.removeAt(p);
        return without == before;
    }
    if (after.size() == n + 2)
        return after.mid(0, n) == before && after.at(n) == u'[' + section + u']';
    return false;
}

std::string shown(const ConfigValues &c)
{
    return fuzz::shown(QStringList{c.LastDir, c.ImageDir, c.homeDir});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using platform::IniDocument;
    const QByteArray input = fuzz::bytes(data, size);
    qsizetype at = 0;
    const QString section = name(nextPart(input, at), QStringLiteral("[]"));
    const QString key = name(nextPart(input, at), QStringLiteral("[]="));
    const QString value = QString::fromUtf8(nextPart(input, at));
    const IniDocument doc = IniDocument::fromBytes(input.mid(at));

    IniDocument changed = doc;
    changed.setValue(section, key, value);
    const std::string what = fuzz::shown(section) + " " + fuzz::shown(key) + " " + fuzz::shown(value);
    FUZZ_CHECK(otherLinesKept(doc.lines(), changed.lines(), section),
               what + "\nbefore: " + fuzz::shown(doc.lines()) + "\nafter: " + fuzz::shown(changed.lines()));

    const QByteArray saved = changed.toBytes();
    const IniDocument loaded = IniDocument::fromBytes(saved);
    FUZZ_CHECK(loaded.lines() == changed.lines(),
               what + "\nsaved: " + fuzz::shown(changed.lines()) + "\nloaded: " + fuzz::shown(loaded.lines()));

    qsizetype lineEnd = 0;
    while (lineEnd < value.size() && value.at(lineEnd) != u'\r' && value.at(lineEnd) != u'\n')
        ++lineEnd;
    const QString expected = platform::truncateToBytes(value.left(lineEnd), 255);
    const std::optional<QString> back = loaded.value(section, key);
    FUZZ_CHECK(back && platform::truncateToBytes(*back, 255) == expected,
               what + "\nexpected " + fuzz::shown(expected) + ", read " + (back ? fuzz::shown(*back) : "nothing")
                   + "\nlines: " + fuzz::shown(loaded.lines()));
    (void)platform::parseProfileInt(*back);

    // config.ini: every value read, written and read again; a second save changes nothing.
    const ConfigValues read = readConfig(doc);
    IniDocument config = doc;
    writeConfig(read, config);
    const ConfigValues again = readConfig(IniDocument::fromBytes(config.toBytes()));
    FUZZ_CHECK(again.LastDir == read.LastDir && again.ImageDir == read.ImageDir && again.homeDir == read.homeDir,
               shown(read) + " -> " + shown(again));
    IniDocument config2 = config;
    writeConfig(again, config2);
    FUZZ_CHECK(readConfig(IniDocument::fromBytes(config2.toBytes())) == again, shown(again));
    return 0;
}
