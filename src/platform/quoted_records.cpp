#include "platform/quoted_records.h"

#include "platform/text_file.h"

namespace platform {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Whether a quote just before `from` closes its field: only blanks, then a comma or the
// line end, follow it.
bool closesField(const QString &line, qsizetype from)
{
    while (from < line.size() && isBlank(line.at(from)))
        ++from;
    return from >= line.size() || line.at(from) == u',';
}

} // namespace

QStringList parseQuotedFields(const QString &line, int count)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (fields.size() < count) {
        while (i < n && isBlank(line.at(i)))
            ++i;
        if (i >= n) {
            fields.append(QString());
            continue;
        }
        QString field;
        if (line.at(i) == u'"') {
            ++i;
            while (i < n) {
                if (line.at(i) == u'"') {
                    if (i + 1 < n && line.at(i + 1) == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    if (closesField(line, i + 1)) {
                        ++i;
                        break;
                    }
                }
                field += line.at(i++);
            }
            // Whatever follows the closing quote up to the separator belongs to no field.
            while (i < n && line.at(i) != u',')
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && line.at(i) != u',')
                ++i;
            field = line.mid(start, i - start);
            while (!field.isEmpty() && isBlank(field.back()))
                field.chop(1);
        }
        if (i < n && line.at(i) == u',')
            ++i;
        fields.append(field);
    }
    return fields;
}

QString quoteField(const QString &text)
{
    QString out = text;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QString formatQuotedRecord(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &f : fields)
        quoted.append(quoteField(f));
    return quoted.join(u',');
}

QList<QStringList> parseQuotedRecords(const QByteArray &bytes, int count)
{
    QList<QStringList> records;
    for (const QString &line : decodeLines(bytes)) {
        if (line.trimmed().isEmpty())
            continue;
        records.append(parseQuotedFields(line, count));
    }
    return records;
}

QByteArray formatQuotedRecords(const QList<QStringList> &records)
{
    QStringList lines;
    lines.reserve(records.size());
    for (const QStringList &r : records)
        lines.append(formatQuotedRecord(r));
    return encodeLines(lines);
}

std::optional<QList<QStringList>> readQuotedRecords(const QString &path, int count)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return parseQuotedRecords(*bytes, count);
}

bool writeQuotedRecords(const QString &path, const QList<QStringList> &records)
{
    return writeFileAtomically(path, formatQuotedRecords(records));
}

} // namespace platform
