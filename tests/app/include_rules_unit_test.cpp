// The rules that keep the program's rooms apart, read from the sources themselves: only
// the main window's own folder includes its header, only the engine adapters include
// the libraries behind them, and the pure libraries include no widget header.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

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

TEST(IncludeRules, PlatformAndLogicIncludeNoWidgets)
{
    // The logic library's files are the ones the build lists by name; the platform layer is
    // its whole folder. Neither may reach for a widget, a window or an engine.
    static const QStringList logic{
        QStringLiteral("app/command_line"), QStringLiteral("app/config_format"), QStringLiteral("app/config_values"),
        QStringLiteral("dialogs/file_dialogs"), QStringLiteral("input/commands"), QStringLiteral("lists/extensions"), QStringLiteral("lists/file_search"), QStringLiteral("lists/item_rules"),
        QStringLiteral("lists/list_file"), QStringLiteral("lists/list_loader"), QStringLiteral("lists/media_types"), QStringLiteral("lists/path"),
        QStringLiteral("lists/tab_files"), QStringLiteral("lists/thumbnail_preview"), QStringLiteral("playback/engine_units"), QStringLiteral("playback/random_picker"), QStringLiteral("playback/resume_file"), QStringLiteral("playback/seek_math"), QStringLiteral("playback/video_path"),
        QStringLiteral("scenes/scene_file"), QStringLiteral("window/layout_math"), QStringLiteral("window/video_fit")};
    static const QRegularExpression widgets(
        QStringLiteral("^(Q(Widget|Application|GuiApplication|Screen|Window|Pixmap|Image|Action|Menu|Label|Frame|"
                       "AbstractButton|CheckBox|RadioButton|Slider|ProgressBar|ListWidget|TabBar)|QtWidgets/|QtGui/)"));
    const QStringList bad = offenders(
        includesBySource(),
        [](const QString &file) {
            const QString stem = file.left(file.lastIndexOf(u'.'));
            return !file.startsWith(QStringLiteral("platform/")) && !logic.contains(stem);
        },
        [](const QString &inc) {
            return widgets.match(inc).hasMatch() || inc.startsWith(QStringLiteral("window/twips"))
                   || inc.startsWith(QStringLiteral("app/player"));
        });
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}
