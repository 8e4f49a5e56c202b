#include "app/system_info.h"

#include <QFile>
#include <QStringList>

std::optional<MemoryInfo> parseMeminfo(const QString &text)
{
    std::optional<std::int64_t> total, available, free;
    for (const QString &line : text.split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        std::optional<std::int64_t> *slot = key == u"MemTotal"       ? &total
                                            : key == u"MemAvailable" ? &available
                                            : key == u"MemFree"      ? &free
                                                                     : nullptr;
        if (!slot)
            continue;
        // "  524288 kB": the number before the unit.
        const QString value = line.mid(colon + 1).trimmed().section(u' ', 0, 0);
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (ok && n >= 0)
            *slot = n;
    }
    if (!total)
        return std::nullopt;
    return MemoryInfo{*total, available ? *available : free.value_or(0)};
}

std::optional<MemoryInfo> readMeminfo()
{
    // /proc files report a size of 0: read to the end instead.
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseMeminfo(QString::fromLatin1(f.readAll()));
}

QString groupedCount(std::int64_t n)
{
    const bool negative = n < 0;
    QString digits = QString::number(negative ? -n : n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return negative ? u'-' + digits : digits;
}

QString memoryText(const MemoryInfo &m)
{
    return groupedCount(m.availableKb) + QStringLiteral("KB / ") + groupedCount(m.totalKb) + QStringLiteral("KB");
}

QString displayText(int width, int height, int depth)
{
    return QStringLiteral("%1×%2 %3ビット").arg(width).arg(height).arg(depth);
}
