#pragma once
// Helpers shared by the tests: temporary folders, files, generated clips, waiting.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (const QString &s : l)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}

class QProcess;

namespace testsupport {

// The folder of the generated clips (PLOVANA_TEST_MEDIA).
QString mediaDir();
// The full path of one generated clip.
QString clip(const QString &name);
// Sends a signal to a running child process; nothing when it is not running (its process
// id is then 0, and kill(0, …) would signal the whole process group: the test runner too).
bool signalProcess(QProcess &process, int signal);
// The damaged files made from the clips (tests/media/make-damaged.sh), by name.
QStringList damagedFiles();

// Writes bytes to a file, creating its folder. Returns the path.
QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// Processes events until the condition holds or the time runs out; returns the condition.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000);
// Processes events for the given time.
void pump(int ms);

} // namespace testsupport
