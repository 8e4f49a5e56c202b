#include "support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>

namespace testsupport {

QString mediaDir()
{
    return qEnvironmentVariable("PLOVANA_TEST_MEDIA");
}

QString clip(const QString &name)
{
    return mediaDir() + u'/' + name;
}

bool signalProcess(QProcess &process, int signal)
{
    const qint64 pid = process.processId();
    if (pid <= 0 || process.state() != QProcess::Running)
        return false;
    return ::kill(static_cast<pid_t>(pid), signal) == 0;
}

QStringList damagedFiles()
{
    const QDir dir(mediaDir() + QStringLiteral("/damaged"));
    QStringList files;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace testsupport
