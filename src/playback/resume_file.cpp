#include "playback/resume_file.h"

#include "platform/path.h"
#include "platform/quoted_records.h"
#include "platform/text_file.h"
#include "playback/engine_units.h"

#include <cmath>
#include <limits>

ResumeRecord resumeRecordFor(const QString &fileName, int playState, std::optional<double> position,
                             const QString &appDir, bool relative)
{
    if ((playState != 1 && playState != 2) || fileName.isEmpty() || !position || !std::isfinite(*position))
        return {};
    ResumeRecord r;
    r.path = relative ? path::getrelativepath(fileName, appDir) : fileName;
    r.position = *position;
    r.state = playState;
    return r;
}

QByteArray formatResumeFile(const ResumeRecord &record)
{
    return platform::encodeLines({platform::quoteField(record.path), doubleText(record.position),
                                  QString::number(record.state)});
}

std::optional<ResumeRecord> parseResumeFile(const QStringList &lines)
{
    // Blank lines are no records, as in every quoted-record file.
    QStringList records;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            records.append(line);
    if (records.isEmpty())
        return std::nullopt;
    ResumeRecord r;
    r.path = platform::parseQuotedFields(records.at(0), 1).value(0);
    bool ok = false;
    if (records.size() > 1) {
        const double pos = records.at(1).trimmed().toDouble(&ok);
        r.position = ok && std::isfinite(pos) ? pos : 0;
    }
    r.state = 4;
    if (records.size() > 2) {
        const int state = records.at(2).trimmed().toInt(&ok);
        if (ok && state >= std::numeric_limits<short>::min() && state <= std::numeric_limits<short>::max())
            r.state = state;
    }
    return r;
}

std::optional<ResumeRecord> parseResumeBytes(const QByteArray &bytes)
{
    return parseResumeFile(platform::decodeLines(bytes));
}
