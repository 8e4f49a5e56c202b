#include "lists/item_rules.h"

namespace items {

namespace {

// "###,###,###": digits grouped in threes with ",", nothing for 0.
QString grouped(std::uint64_t n)
{
    if (n == 0)
        return QString();
    QString digits = QString::number(n);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

} // namespace

QString sizeText(std::uint64_t bytes)
{
    const QString text = grouped(bytes);
    if (text.size() >= 8)
        return text.left(text.size() - 8) + QStringLiteral("MByte");
    return text + QStringLiteral("Byte");
}

QString informationLine(std::uint64_t bytes, int count)
{
    if (count <= 0)
        return QString();
    if (count == 1)
        return sizeText(bytes);
    return sizeText(bytes) + QStringLiteral(" - ") + QString::number(count) + QStringLiteral("個のファイル");
}

QList<int> dragToggleRows(int p, int k, int rows)
{
    QList<int> out;
    if (p < 0 || p >= rows || k < 0 || k >= rows || p == k)
        return out;
    const int step = p > k ? -1 : 1;
    for (int row = p; row != k; row += step)
        out.append(row);
    return out;
}

bool acceptableFileName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(QChar(0));
}

int selectionAfterDelete(int lowestRemoved, int remaining)
{
    if (remaining <= 0)
        return 0;
    if (lowestRemoved <= 0)
        return 1;
    return lowestRemoved <= remaining ? lowestRemoved : 0;
}

} // namespace items
