#include "platform/profile.h"

#include "platform/text_file.h"

#include <QFileInfo>

#include <limits>

namespace platform {

namespace {

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key name of a "key=value" line, or nullopt.
std::optional<QString> keyName(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first line of the section's body and one past its last line, or nullopt.
std::optional<std::pair<qsizetype, qsizetype>> findSection(const QStringList &lines,
                                                           const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines.at(i));
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !sectionName(lines.at(end)))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

} // namespace

IniDocument IniDocument::load(const QString &path)
{
    const auto bytes = readFileBytes(path);
    return bytes ? fromBytes(*bytes) : IniDocument();
}

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    return IniDocument(decodeLines(bytes));
}

QByteArray IniDocument::toBytes() const
{
    return encodeLines(m_lines);
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const auto range = findSection(m_lines, section);
    if (!range)
        return std::nullopt;
    for (qsizetype i = range->first; i < range->second; ++i) {
        const QString &line = m_lines.at(i);
        const auto name = keyName(line);
        if (!name || !sameName(*name, key))
            continue;
        QString v = line.mid(line.indexOf(u'=') + 1).trimmed();
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        return v;
    }
    return std::nullopt;
}

namespace {

// The text of a value on its line. A value is read back trimmed and without one pair of
// enclosing quotes: one that such a read would change (blanks at either end, such as a
// folder named with a trailing space, or enclosing quotes of its own) is written in double
// quotes, which the read removes again. A line break cannot stand in a line: the value is
// written up to it (what a read of the line would give anyway), so it never adds lines.
QString storedValue(const QString &value)
{
    qsizetype end = 0;
    while (end < value.size() && value.at(end) != u'\r' && value.at(end) != u'\n')
        ++end;
    const QString v = value.left(end);
    const bool enclosed =
        v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
    return enclosed || v.trimmed() != v ? u'"' + v + u'"' : v;
}

} // namespace

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString entry = key + u'=' + storedValue(value);
    const auto range = findSection(m_lines, section);
    if (!range) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(entry);
        return;
    }
    qsizetype lastContent = range->first - 1;
    for (qsizetype i = range->first; i < range->second; ++i) {
        const QString &line = m_lines.at(i);
        if (!line.trimmed().isEmpty())
            lastContent = i;
        const auto name = keyName(line);
        if (name && sameName(*name, key)) {
            m_lines[i] = entry;
            return;
        }
    }
    m_lines.insert(lastContent + 1, entry);
}

QString truncateToBytes(const QString &text, int maxBytes)
{
    if (maxBytes <= 0)
        return QString();
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= maxBytes)
        return text;
    qsizetype cut = maxBytes;
    // Step back over continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(utf8.at(cut)) & 0xC0) == 0x80)
        --cut;
    return QString::fromUtf8(utf8.left(cut));
}

int parseProfileInt(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && t.at(i) == u'-') {
        negative = true;
        ++i;
    }
    long long value = 0;
    for (; i < t.size() && t.at(i) >= u'0' && t.at(i) <= u'9'; ++i) {
        value = value * 10 + (t.at(i).unicode() - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            value = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        value = std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        value = std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

QString getPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, const QString &file,
                                int bufferSize)
{
    const auto v = IniDocument::load(file).value(section, key);
    return truncateToBytes(v ? *v : defaultValue, bufferSize - 1);
}

int getPrivateProfileInt(const QString &section, const QString &key, int defaultValue,
                         const QString &file)
{
    const auto v = IniDocument::load(file).value(section, key);
    return v ? parseProfileInt(*v) : defaultValue;
}

bool writePrivateProfileString(const QString &section, const QString &key,
                               const QString &value, const QString &file)
{
    // A file that exists but cannot be read is left alone rather than replaced by a
    // file holding this one key.
    auto lines = readTextLines(file);
    if (!lines && QFileInfo::exists(file))
        return false;
    IniDocument doc(lines ? *lines : QStringList());
    doc.setValue(section, key, value);
    return writeFileAtomically(file, doc.toBytes());
}

} // namespace platform
