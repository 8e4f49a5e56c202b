// Nothing lost when the program is killed: the program's window with its real services (a
// driver that adds files and a tab as a user would), over an old state folder, ended by
// SIGKILL at a random moment, forty times. Every state file is then its old content or a
// whole new one, never a mix or a cut; what was changed more than two seconds before the
// kill is on disk; no temporary file stays after the next clean start. SIGTERM rounds: the
// shutdown's files hold everything.
#include "support/test_support.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr int kOldEntries = 10000;
constexpr int kMedia = 500;

struct OldState
{
    QByteArray okini, config, tabM3u, listA, listB;
};

// The old state: a favourites list of 10,000 files with comments, a hand-ordered
// config.ini (thumbnails not loaded), two m3u tabs.
OldState makeOldState(const QString &work)
{
    QDir().mkpath(work + "/old");
    QDir().mkpath(work + "/media");
    OldState s;
    for (int i = 0; i < kOldEntries; ++i) {
        const QString f = work + QStringLiteral("/old/o%1.avi").arg(i, 5, 10, QChar(u'0'));
        QFile(f).open(QIODevice::WriteOnly);
        if (i % 100 == 0)
            s.okini += "# part " + QByteArray::number(i / 100) + "\r\n";
        s.okini += f.toUtf8() + "\r\n";
    }
    for (int i = 0; i < kMedia; ++i)
        QFile(work + QStringLiteral("/media/f%1.avi").arg(i, 4, 10, QChar(u'0'))).open(QIODevice::WriteOnly);
    s.config = "; kept by hand\r\n[other]\r\nload_thumbnail=1\r\nListMode=2\r\nListVisible=1\r\n"
               "[volume]\r\nvolume=60\r\n[Position]\r\nWidth=13500\r\nHeight=8400\r\nLeft=0\r\nTop=0\r\nListWidth=6255\r\n";
    s.listA = (work + "/old/o00001.avi\r\n").toUtf8();
    s.listB = (work + "/old/o00002.avi\r\n").toUtf8();
    s.tabM3u = "\"a\",\"" + (work + "/a.m3u").toUtf8() + "\"\r\n\"b\",\"" + (work + "/b.m3u").toUtf8() + "\"\r\n";
    return s;
}

void putOldState(const QString &app, const QString &work, const OldState &s)
{
    QDir(app).removeRecursively();
    QDir().mkpath(app);
    testsupport::writeFile(app + "/okini.ini", s.okini);
    testsupport::writeFile(app + "/config.ini", s.config);
    testsupport::writeFile(app + "/TabM3u.ini", s.tabM3u);
    testsupport::writeFile(work + "/a.m3u", s.listA);
    testsupport::writeFile(work + "/b.m3u", s.listB);
}

struct Driver
{
    Driver(const QString &app, const QString &work, int batches)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PLOVANA_APPDIR", app);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PLOVANA_MIXER", "none");
        env.insert("PLOVANA_MPV_AO", "null");
        process.setProcessEnvironment(env);
        process.start(QString::fromUtf8(PLOVANA_STATE_DRIVER),
                      {work + "/media", QString::number(batches), "tab", work + "/c.m3u"});
    }
    ~Driver()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    // The driver's reports so far.
    void read()
    {
        pending += process.readAllStandardOutput();
        const qsizetype end = pending.lastIndexOf('\n');
        if (end < 0)
            return;
        const QByteArray whole = pending.left(end);
        pending.remove(0, end + 1);
        for (const QByteArray &line : whole.split('\n')) {
            const QList<QByteArray> w = line.trimmed().split(' ');
            if (w.size() == 3 && w[0] == "added")
                added.append({w[1].toInt(), w[2].toLongLong()});
            else if (w.size() == 2 && w[0] == "tab")
                tabAt = w[1].toLongLong();
            else if (w.value(0) == "done")
                done = true;
        }
    }
    // How many files had been added at least `ms` before now.
    int addedBefore(qint64 now, qint64 ms) const
    {
        int n = 0;
        for (const auto &[count, at] : added)
            if (at <= now - ms)
                n = count;
        return n;
    }
    QProcess process;
    QByteArray pending; // a report not yet ended by its line break
    QList<std::pair<int, qint64>> added; // files added in all, when
    qint64 tabAt = 0;
    bool done = false;
};

// The favourites list on disk is the old file, or a whole new one: the old entries (the
// comments dropped) and then the first n added files, every line whole.
int addedInList(const QByteArray &okini, const QString &work, const OldState &old, QString &why)
{
    if (okini == old.okini)
        return 0;
    if (!okini.endsWith("\r\n")) {
        why = "the list is cut";
        return -1;
    }
    QList<QByteArray> lines;
    for (const QByteArray &line : okini.chopped(1).split('\n'))
        lines.append(line.endsWith('\r') ? line.chopped(1) : line + "(no CR)");
    if (lines.size() < kOldEntries) {
        why = "old entries are missing";
        return -1;
    }
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray want = i < kOldEntries
                                    ? (work + QStringLiteral("/old/o%1.avi").arg(i, 5, 10, QChar(u'0'))).toUtf8()
                                    : (work + QStringLiteral("/media/f%1.avi").arg(i - kOldEntries, 4, 10, QChar(u'0'))).toUtf8();
        if (lines[i] != want) {
            why = "line " + QString::number(i + 1) + " is " + QString::fromUtf8(lines[i]);
            return -1;
        }
    }
    return static_cast<int>(lines.size()) - kOldEntries;
}

// The files a state folder may hold; anything else (a temporary file left) is a fault.
bool onlyStateFiles(const QString &app, QStringList &others)
{
    static const QSet<QString> known{"okini.ini", "config.ini", "TabM3u.ini", "tabdir.ini", "searchData.ini",
                                     "resume.ini", "key.ini", "color.ini", "image", "seen"};
    for (const QString &f : QDir(app).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (!known.contains(f) && !f.endsWith(".lock"))
            others.append(f);
    return others.isEmpty();
}

} // namespace

TEST(KillLoop, EveryStateFileIsOldOrWholeAndNoChangeOlderThanTwoSecondsIsLost)
{
    QTemporaryDir base;
    const QString work = base.filePath("work"), app = base.filePath("state");
    const OldState old = makeOldState(work);
    QRandomGenerator random(20261209);
    int killedAfterAdds = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        putOldState(app, work, old);
        const bool term = round % 8 == 7; // every eighth round ends by SIGTERM
        Driver d(app, work, 20);
        ASSERT_TRUE(d.process.waitForStarted(5000));
        const int ms = 300 + static_cast<int>(random.bounded(5000));
        testsupport::waitFor(
            [&] {
                d.read();
                return false;
            },
            ms);
        d.read();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        ASSERT_EQ(d.process.state(), QProcess::Running)
            << "the program ended by itself: " << d.process.readAllStandardError().toStdString();
        testsupport::signalProcess(d.process, term ? SIGTERM : SIGKILL);
        ASSERT_TRUE(d.process.waitForFinished(15000));
        d.read();
        if (term) {
            EXPECT_EQ(d.process.exitCode(), 0);
        }

        QString why;
        const int inList = addedInList(testsupport::readFile(app + "/okini.ini"), work, old, why);
        ASSERT_GE(inList, 0) << why.toStdString();
        const int announced = d.added.isEmpty() ? 0 : d.added.last().first;
        // The kill may come while a batch is being added (its report not yet printed).
        EXPECT_LE(inList, announced + 25) << "files on disk that were never added";
        if (term) {
            EXPECT_EQ(inList, announced) << "shutdown writes every file added";
        } else {
            EXPECT_GE(inList, d.addedBefore(now, 2000)) << "a change more than 2 s old is lost";
        }
        killedAfterAdds += !term && announced > 0;

        const QByteArray tabs = testsupport::readFile(app + "/TabM3u.ini");
        const QByteArray withTab = old.tabM3u + "\"c\",\"" + (work + "/c.m3u").toUtf8() + "\"\r\n";
        EXPECT_TRUE(tabs == old.tabM3u || tabs == withTab) << tabs.toStdString();
        if (d.tabAt && (term || d.tabAt <= now - 2000)) {
            EXPECT_EQ(tabs, withTab) << "the tab added more than 2 s before";
        }

        // config.ini keeps the user's order and comment whatever was written.
        const QByteArray config = testsupport::readFile(app + "/config.ini");
        EXPECT_TRUE(config.startsWith("; kept by hand\r\n[other]\r\nload_thumbnail=1\r\n")) << config.toStdString();
        EXPECT_TRUE(config.endsWith("\r\n"));
        EXPECT_EQ(testsupport::readFile(work + "/a.m3u"), old.listA) << "a list not shown is not written";
    }
    EXPECT_GT(killedAfterAdds, 20) << "most kills came while files were being added";

    // A clean start and exit afterwards leaves no temporary file.
    Driver clean(app, work, 0);
    ASSERT_TRUE(clean.process.waitForStarted(5000));
    ASSERT_TRUE(testsupport::waitFor(
        [&] {
            clean.read();
            return clean.done;
        },
        20000));
    testsupport::signalProcess(clean.process, SIGTERM);
    ASSERT_TRUE(clean.process.waitForFinished(15000));
    QStringList others;
    EXPECT_TRUE(onlyStateFiles(app, others)) << others.join(' ').toStdString();
}
