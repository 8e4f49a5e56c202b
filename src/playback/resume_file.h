#pragma once
// resume.ini: the file open at exit, its position and its play state, as three records of
// one value each:
//   "./video/a.avi"     the path in double quotes (relative to the program folder with
//                       "soutai"), "" when nothing was open
//   83.52               the position in seconds, 15 significant digits at most, "."; 0 for nothing
//   1                   the state: 1 playing, 2 paused; 4 for nothing
// Each line ends with CR LF.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct ResumeRecord
{
    QString path;          // as stored: relative or absolute; "" when nothing was open
    double position = 0;   // seconds
    int state = 4;         // 1 playing, 2 paused, 4 nothing open
    bool operator==(const ResumeRecord &o) const
    {
        return path == o.path && position == o.position && state == o.state;
    }
};

// What an exit writes: the open file (relative to `appDir` when `relative`), its position
// and state, when the state is 1 or 2, there is a file and its position could be read;
// otherwise the nothing form.
ResumeRecord resumeRecordFor(const QString &fileName, int playState, std::optional<double> position,
                             const QString &appDir, bool relative);

// The file's bytes (UTF-8, CR LF).
QByteArray formatResumeFile(const ResumeRecord &record);

// Reads the three records back. A position that is not a number reads as 0, a state that is
// not a 16-bit integer as 4 (nothing to restore); a missing path line gives nullopt.
std::optional<ResumeRecord> parseResumeFile(const QStringList &lines);
// The same from the file's bytes.
std::optional<ResumeRecord> parseResumeBytes(const QByteArray &bytes);
