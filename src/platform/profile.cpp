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
    auto lines = readTextLines(path);
    return IniDocument(lines ? *lines : QStringList());
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

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString entry = key + u'=' + value;
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
    return writeTextLines(file, doc.lines());
}

} // namespace platform
