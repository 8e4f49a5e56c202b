#include "app/associations.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <vector>

namespace associations {

namespace {

// One line of the text: [start, end) without its line feed; a carriage return before the
// line feed is kept apart, so an edited line keeps its line end.
struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;     // before "\r\n" or "\n", or the text's end
    qsizetype next = 0;    // where the next line starts
    bool terminated = false;
};

std::vector<Line> splitLines(const QByteArray &text)
{
    std::vector<Line> lines;
    qsizetype at = 0;
    while (at < text.size()) {
        Line l;
        l.start = at;
        const qsizetype nl = text.indexOf('\n', at);
        l.terminated = nl >= 0;
        l.next = l.terminated ? nl + 1 : text.size();
        l.end = l.terminated ? nl : text.size();
        if (l.end > l.start && text.at(l.end - 1) == '\r')
            --l.end;
        lines.push_back(l);
        at = l.next;
    }
    return lines;
}

QByteArray lineText(const QByteArray &text, const Line &l) { return text.mid(l.start, l.end - l.start); }

// The name of a "[name]" line, or nullopt for any other line.
std::optional<QByteArray> groupName(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return t.mid(1, t.size() - 2);
}

bool isKeyLine(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    return !t.isEmpty() && t.front() != '#' && t.contains('=');
}

// Where a type's key stands in the text: the line of its key in the group (the first of
// its groups that has it), else the line after which a new key goes into the group's
// first occurrence; nullopt for both when the group is missing.
struct Place
{
    std::optional<qsizetype> key;     // index of the key's line
    std::optional<qsizetype> after;   // index of the group's last key line, else of its header
};

Place find(const QByteArray &text, const std::vector<Line> &lines, const char *group, const QByteArray &type)
{
    Place p;
    bool inGroup = false, firstGroup = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const QByteArray line = lineText(text, lines[std::size_t(i)]);
        if (const auto name = groupName(line)) {
            inGroup = *name == group;
            firstGroup = inGroup && !p.after;
            if (firstGroup)
                p.after = i;
            continue;
        }
        if (!inGroup)
            continue;
        // A new key goes after the group's last key (comments and blank lines after it
        // belong to what follows).
        if (firstGroup && isKeyLine(line))
            p.after = i;
        if (isKeyLine(line) && line.left(line.indexOf('=')).trimmed() == type) {
            p.key = i;
            return p;
        }
    }
    return p;
}

// Where a key line's value begins: after "=" and the blanks that follow it.
qsizetype valueStart(const QByteArray &line)
{
    qsizetype at = line.indexOf('=') + 1;
    while (at < line.size() && (line.at(at) == ' ' || line.at(at) == '\t'))
        ++at;
    return at;
}

QList<QByteArray> items(const QByteArray &value) { return value.split(';'); }

bool blank(const QList<QByteArray> &parts)
{
    for (const QByteArray &p : parts)
        if (!p.trimmed().isEmpty())
            return false;
    return true;
}

// The text with the type's value in the group replaced by what `edit` makes of it (given
// nullopt for a missing key; returning nullopt takes the key's line out, or adds none).
using ValueEdit = std::function<std::optional<QByteArray>(const std::optional<QByteArray> &)>;
QByteArray editValue(const QByteArray &text, const char *group, const QString &mimeType, const ValueEdit &edit)
{
    const QByteArray type = mimeType.toUtf8();
    const std::vector<Line> lines = splitLines(text);
    const Place place = find(text, lines, group, type);
    if (place.key) {
        const Line &l = lines[std::size_t(*place.key)];
        const QByteArray line = lineText(text, l);
        const qsizetype start = valueStart(line);
        const std::optional<QByteArray> value = edit(line.mid(start));
        if (value && *value == line.mid(start))
            return text;
        QByteArray out = text.left(l.start);
        if (value)
            out += line.left(start) + *value + text.mid(l.end);
        else
            out += text.mid(l.next);
        return out;
    }
    const std::optional<QByteArray> value = edit(std::nullopt);
    if (!value)
        return text;
    const QByteArray keyLine = type + '=' + *value + '\n';
    if (place.after) {
        const Line &l = lines[std::size_t(*place.after)];
        QByteArray out = text.left(l.next);
        if (!l.terminated)
            out += '\n';
        return out + keyLine + text.mid(l.next);
    }
    QByteArray out = text;
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += '\n';
    if (!out.isEmpty() && !out.endsWith("\n\n"))
        out += '\n';
    return out + '[' + group + "]\n" + keyLine;
}

} // namespace

QStringList listedIds(const QByteArray &text, const char *group, const QString &mimeType)
{
    const std::vector<Line> lines = splitLines(text);
    const Place place = find(text, lines, group, mimeType.toUtf8());
    QStringList ids;
    if (!place.key)
        return ids;
    const QByteArray line = lineText(text, lines[std::size_t(*place.key)]);
    for (const QByteArray &part : items(line.mid(valueStart(line))))
        if (!part.trimmed().isEmpty())
            ids.append(QString::fromUtf8(part.trimmed()));
    return ids;
}

bool isListed(const QByteArray &text, const char *group, const QString &mimeType, const QString &id)
{
    return listedIds(text, group, mimeType).contains(id);
}

bool isListedFirst(const QByteArray &text, const char *group, const QString &mimeType, const QString &id)
{
    const QStringList ids = listedIds(text, group, mimeType);
    return !ids.isEmpty() && ids.first() == id;
}

QByteArray appendId(const QByteArray &text, const char *group, const QString &mimeType, const QString &id)
{
    const QByteArray own = id.toUtf8();
    return editValue(text, group, mimeType, [&](const std::optional<QByteArray> &current) -> std::optional<QByteArray> {
        const QByteArray value = current.value_or(QByteArray());
        for (const QByteArray &part : items(value))
            if (part.trimmed() == own)
                return value;
        if (value.trimmed().isEmpty())
            return own + ';';
        return value + (value.trimmed().endsWith(';') ? QByteArray() : QByteArray(";")) + own + ';';
    });
}

QByteArray putIdFirst(const QByteArray &text, const char *group, const QString &mimeType, const QString &id)
{
    const QByteArray own = id.toUtf8();
    return editValue(text, group, mimeType, [&](const std::optional<QByteArray> &current) -> std::optional<QByteArray> {
        const QByteArray value = current.value_or(QByteArray());
        QList<QByteArray> others;
        for (const QByteArray &part : items(value)) {
            if (part.trimmed() == own) {
                if (blank(others))
                    return value; // first already
                continue;
            }
            others.append(part);
        }
        return blank(others) ? own + ';' : own + ';' + others.join(';');
    });
}

QByteArray removeId(const QByteArray &text, const char *group, const QString &mimeType, const QString &id)
{
    const QByteArray own = id.toUtf8();
    return editValue(text, group, mimeType, [&](const std::optional<QByteArray> &current) -> std::optional<QByteArray> {
        if (!current)
            return std::nullopt; // nothing listed: no key is made
        QList<QByteArray> others;
        bool found = false;
        for (const QByteArray &part : items(*current)) {
            if (part.trimmed() == own)
                found = true;
            else
                others.append(part);
        }
        if (!found)
            return current;
        if (blank(others))
            return std::nullopt;
        return others.join(';');
    });
}

QString execProgramArgument(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`");
    QString arg = program;
    bool quote = false;
    for (const QChar c : program)
        quote = quote || reserved.contains(c);
    if (quote) {
        QString escaped;
        for (const QChar c : program) {
            if (c == u'\\' || c == u'"' || c == u'`' || c == u'$')
                escaped += u'\\';
            escaped += c;
        }
        arg = u'"' + escaped + u'"';
    }
    arg.replace(u'%', QStringLiteral("%%"));
    // The value of a string key: a backslash is written doubled, and a line end or a tab
    // as its escape, so the value stays on its line.
    QString value;
    for (const QChar c : arg) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

QString execProgram(const QString &execValue)
{
    // The string escapes first.
    QString v;
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        const QChar c = execValue.at(i);
        if (c != u'\\' || i + 1 == execValue.size()) {
            v += c;
            continue;
        }
        const QChar n = execValue.at(++i);
        v += n == u's' ? QChar(u' ') : n == u'n' ? QChar(u'\n') : n == u't' ? QChar(u'\t') : n == u'r' ? QChar(u'\r') : n;
    }
    // Then the first argument, quoted or up to the first blank.
    QString arg;
    qsizetype i = 0;
    while (i < v.size() && (v.at(i) == u' ' || v.at(i) == u'\t'))
        ++i;
    if (i < v.size() && v.at(i) == u'"') {
        for (++i; i < v.size() && v.at(i) != u'"'; ++i) {
            if (v.at(i) == u'\\' && i + 1 < v.size())
                ++i;
            arg += v.at(i);
        }
    } else {
        for (; i < v.size() && v.at(i) != u' ' && v.at(i) != u'\t'; ++i)
            arg += v.at(i);
    }
    return arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QByteArray desktopEntryText(const QString &program)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Plovana\n"
                             "Exec=")
           + execProgramArgument(program).toUtf8()
           + QByteArrayLiteral(" %f\n"
                               "Terminal=false\n"
                               "NoDisplay=true\n");
}

std::optional<QString> ownDesktopEntryProgram(const QByteArray &text)
{
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith("Exec="))
            continue;
        const QString program = execProgram(QString::fromUtf8(line.mid(5)));
        if (!program.isEmpty() && desktopEntryText(program) == text)
            return program;
        return std::nullopt;
    }
    return std::nullopt;
}

namespace {

QString baseDir(const char *variable, const char *fallbackUnderHome)
{
    const QString v = qEnvironmentVariable(variable);
    if (!v.isEmpty() && QDir::isAbsolutePath(v))
        return QDir::cleanPath(v);
    return QDir::cleanPath(QDir::homePath() + u'/' + QLatin1String(fallbackUnderHome));
}

} // namespace

QString configHome() { return baseDir("XDG_CONFIG_HOME", ".config"); }
QString dataHome() { return baseDir("XDG_DATA_HOME", ".local/share"); }

QStringList dataDirs()
{
    QStringList dirs;
    for (const QString &d : qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(d))
            dirs.append(QDir::cleanPath(d));
    if (dirs.isEmpty())
        dirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return dirs;
}

QString mimeappsListFile() { return configHome() + QStringLiteral("/mimeapps.list"); }

QString userDesktopEntryFile()
{
    return dataHome() + QStringLiteral("/applications/") + QLatin1String(kDesktopId);
}

QString installedDesktopEntryFile()
{
    for (const QString &d : dataDirs()) {
        const QString f = d + QStringLiteral("/applications/") + QLatin1String(kDesktopId);
        if (QFileInfo(f).isFile())
            return f;
    }
    return QString();
}

} // namespace associations
