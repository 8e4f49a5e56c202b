// The rules that keep the program's rooms apart, read from the sources themselves: the
// folders in layers, only the main window's own folder includes its header, only the
// engine adapters include the libraries behind them, and the pure libraries include no
// widget header.
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

QString sourceDir() { return qEnvironmentVariable("PLOVANA_SOURCE") + QStringLiteral("/src/"); }

// Every source file under src/, as a path relative to src/, with its #include lines.
QMap<QString, QStringList> includesBySource()
{
    QMap<QString, QStringList> out;
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"));
    QDirIterator it(sourceDir(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QStringList includes;
        for (const QByteArray &line : f.readAll().split('\n')) {
            const auto m = include.match(QString::fromUtf8(line));
            if (m.hasMatch())
                includes.append(m.captured(1));
        }
        out.insert(path.mid(sourceDir().size()), includes);
    }
    return out;
}

QStringList offenders(const QMap<QString, QStringList> &sources, const std::function<bool(const QString &)> &allowed,
                      const std::function<bool(const QString &)> &forbidden)
{
    QStringList bad;
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        if (allowed(it.key()))
            continue;
        for (const QString &inc : it.value())
            if (forbidden(inc))
                bad.append(it.key() + QStringLiteral(" includes ") + inc);
    }
    return bad;
}

} // namespace

TEST(IncludeRules, SourcesAreFound)
{
    const auto sources = includesBySource();
    EXPECT_TRUE(sources.contains(QStringLiteral("app/player.h"))) << sourceDir().toStdString();
    EXPECT_GT(sources.size(), 40);
}

TEST(IncludeRules, OnlyTheMainWindowsFolderIncludesItsHeader)
{
    const QStringList bad = offenders(
        includesBySource(), [](const QString &file) { return file.startsWith(QStringLiteral("app/")); },
        [](const QString &inc) { return inc == QStringLiteral("app/player.h"); });
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, OnlyTheEngineAdaptersIncludeMpvFfmpegAndAlsa)
{
    static const QStringList adapters{QStringLiteral("playback/mpv_backend.cpp"),
                                      QStringLiteral("playback/video_surface.cpp"),
                                      QStringLiteral("platform/wave_out.cpp"),
                                      QStringLiteral("platform/media_detector.cpp")};
    static const QRegularExpression engine(QStringLiteral("^(mpv|libav[a-z]*|libsw[a-z]*|alsa)/"));
    const QStringList bad = offenders(
        includesBySource(), [](const QString &file) { return adapters.contains(file); },
        [](const QString &inc) { return engine.match(inc).hasMatch(); });
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

// The folders in layers, lowest first. A folder includes its own headers and those of the
// folders below it, never one above: no two folders include each other.
const QStringList kLayers{QStringLiteral("platform"), QStringLiteral("dialogs"), QStringLiteral("widgets"),
                          QStringLiteral("playback"), QStringLiteral("lists"),   QStringLiteral("scenes"),
                          QStringLiteral("window"),   QStringLiteral("input"),   QStringLiteral("app")};

TEST(IncludeRules, NoFolderIncludesAFolderAboveIt)
{
    const auto sources = includesBySource();
    QStringList folders;
    for (auto it = sources.begin(); it != sources.end(); ++it)
        if (const QString f = it.key().section(u'/', 0, 0); !folders.contains(f))
            folders.append(f);
    for (const QString &f : folders)
        EXPECT_TRUE(kLayers.contains(f)) << f.toStdString() << " has no place in the layers";
    QStringList upward;
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        const qsizetype own = kLayers.indexOf(it.key().section(u'/', 0, 0));
        for (const QString &inc : it.value()) {
            const qsizetype target = kLayers.indexOf(inc.section(u'/', 0, 0));
            if (inc.contains(u'/') && target > own)
                upward.append(it.key() + QStringLiteral(" includes ") + inc);
        }
    }
    EXPECT_TRUE(upward.isEmpty()) << upward.join(u'\n').toStdString();
}

namespace {

// The logic library's files as the build lists them (PLOVANA_LOGIC_FILES in src/CMakeLists.txt).
QStringList logicFiles()
{
    QFile f(sourceDir() + QStringLiteral("CMakeLists.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("set(PLOVANA_LOGIC_FILES"));
    const qsizetype end = text.indexOf(u')', start);
    if (start < 0 || end < 0)
        return {};
    QStringList files = text.mid(start, end - start).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    files.removeFirst(); // "set(PLOVANA_LOGIC_FILES"
    return files;
}

} // namespace

TEST(IncludeRules, PlatformAndLogicIncludeNoWidgets)
{
    // The logic library's files are the ones the build lists by name; the platform layer is
    // its whole folder. Neither may reach for a widget, a window or an engine.
    const QStringList logic = logicFiles();
    ASSERT_GT(logic.size(), 10) << "PLOVANA_LOGIC_FILES not found in src/CMakeLists.txt";
    for (const QString &stem : logic)
        EXPECT_TRUE(QFile::exists(sourceDir() + stem + QStringLiteral(".h"))
                    || QFile::exists(sourceDir() + stem + QStringLiteral(".cpp")))
            << stem.toStdString();
    static const QRegularExpression widgets(
        QStringLiteral("^(Q(Widget|Application|GuiApplication|Screen|Window|Pixmap|Image|Action|Menu|Label|Frame|"
                       "AbstractButton|CheckBox|RadioButton|Slider|ProgressBar|ListWidget|TabBar)|QtWidgets/|QtGui/)"));
    const QStringList bad = offenders(
        includesBySource(),
        [&logic](const QString &file) {
            const QString stem = file.left(file.lastIndexOf(u'.'));
            return !file.startsWith(QStringLiteral("platform/")) && !logic.contains(stem);
        },
        [](const QString &inc) {
            return widgets.match(inc).hasMatch() || inc.startsWith(QStringLiteral("widgets/twips"))
                   || inc.startsWith(QStringLiteral("app/player"));
        });
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}
