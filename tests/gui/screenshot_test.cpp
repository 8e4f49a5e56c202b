// The real program under Xvfb: a screenshot shows the test pattern in the video area.
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>

namespace {

// Counts the pixels of the pattern's two colours: pure magenta and pure green. Nothing
// in the window but the video has them.
std::pair<int, int> patternPixels(const QImage &img)
{
    int magenta = 0, green = 0;
    for (int y = 0; y < img.height(); y += 2) {
        for (int x = 0; x < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            const int r = qRed(c), g = qGreen(c), b = qBlue(c);
            if (r > 220 && g < 40 && b > 220)
                ++magenta;
            else if (g > 220 && r < 40 && b < 40)
                ++green;
        }
    }
    return {magenta, green};
}

class Xvfb
{
public:
    // A screen of this size, with the small window manager openbox when it is installed
    // (its frames and its full screen are what a desktop gives).
    QString size = QStringLiteral("1024x768x24");
    bool withWindowManager = false;
    bool start()
    {
        if (!startServer())
            return false;
        if (withWindowManager && !QStandardPaths::findExecutable("openbox").isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("DISPLAY", display);
            wm.setProcessEnvironment(env);
            wm.start(QStringLiteral("openbox"), {});
            wm.waitForStarted(3000);
            QThread::msleep(500);
        }
        return true;
    }
    bool startServer()
    {
        for (int n = 90 + (::getpid() % 100); n < 400; ++n) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display = QStringLiteral(":%1").arg(n);
            server.start(QStringLiteral("Xvfb"), {display, "-screen", "0", size, "-nolisten", "tcp"});
            if (!server.waitForStarted(3000))
                return false;
            if (testsupport::waitFor([&] { return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); }, 5000))
                return true;
            server.kill();
            server.waitForFinished();
        }
        return false;
    }
    ~Xvfb()
    {
        wm.terminate();
        wm.waitForFinished(3000);
        server.terminate();
        server.waitForFinished(3000);
    }
    QImage screenshot()
    {
        QProcess import;
        import.start(QStringLiteral("import"), {"-display", display, "-window", "root", "png:-"});
        if (!import.waitForFinished(10000))
            return {};
        return QImage::fromData(import.readAllStandardOutput(), "PNG");
    }
    // Runs a tool on the display; its standard output, and whether it succeeded.
    std::pair<QString, bool> run(const QString &tool, const QStringList &arguments)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        p.setProcessEnvironment(env);
        p.start(tool, arguments);
        const bool ok = p.waitForFinished(10000) && p.exitCode() == 0;
        return {QString::fromUtf8(p.readAllStandardOutput()), ok};
    }
    // Runs xdotool on the display (clicks and pointer moves from outside).
    bool xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments).second; }
    QString display;
    QProcess server;
    QProcess wm;
};

// The environment of the real program on the Xvfb display, with a state folder of its own.
QProcessEnvironment programEnvironment(const QString &display, const QString &stateDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("PLOVANA_APPDIR", stateDir);
    env.insert("PLOVANA_MIXER", "none");
    env.insert("PLOVANA_MPV_AO", "null");
    return env;
}

// The first of the tools that is not installed, or null.
const char *missingTool(std::initializer_list<const char *> tools)
{
    for (const char *tool : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return tool;
    return nullptr;
}

// The real program on the display, with a state folder of its own.
struct Program
{
    Program(const QString &display, const QString &stateDir, const QStringList &arguments = {},
            const QString &workingDir = QString())
    {
        process.setProcessEnvironment(programEnvironment(display, stateDir));
        if (!workingDir.isEmpty())
            process.setWorkingDirectory(workingDir);
        process.start(qEnvironmentVariable("PLOVANA_EXE"), arguments);
    }
    bool started() { return process.waitForStarted(5000); }
    // Closes it as the end of a session does; true when it has ended.
    bool close()
    {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        return process.waitForFinished(10000);
    }
    int exitCode() const { return process.exitCode(); }
    QProcess process;
};

// Waits until the screen shows at least `least` sampled pixels of each pattern colour; the
// last screenshot is kept in the test's folder under `name`.
void expectPattern(Xvfb &x, int least, const char *name)
{
    QImage shot;
    std::pair<int, int> counts;
    const bool seen = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            counts = patternPixels(shot);
            return counts.first > least && counts.second > least;
        },
        15000);
    const QString saved = QDir::current().absoluteFilePath(QString::fromLatin1(name));
    shot.save(saved);
    EXPECT_TRUE(seen) << "magenta " << counts.first << ", green " << counts.second << "; see " << saved.toStdString();
}

} // namespace

TEST(Screenshot, VideoOfTheTestPatternAppearsInTheWindow)
{
    if (const char *tool = missingTool({"Xvfb", "import"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());

    QTemporaryDir state;
    Program program(x.display, state.path(), {testsupport::clip("pattern.avi")});
    ASSERT_TRUE(program.started());

    expectPattern(x, 2000, "screenshot-pattern.png");

    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.exitCode(), 0);
}

TEST(Screenshot, ThumbnailViewShowsFramesOfTheFavourites)
{
    if (const char *tool = missingTool({"Xvfb", "import"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());

    // Three copies of the test pattern in the favourites, shown as thumbnails.
    QTemporaryDir state, media;
    QByteArray list;
    for (const char *name : {"p1.avi", "p2.avi", "p3.avi"}) {
        const QString copy = media.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::copy(testsupport::clip("pattern.avi"), copy));
        list += copy.toUtf8() + "\r\n";
    }
    testsupport::writeFile(state.filePath("okini.ini"), list);
    testsupport::writeFile(state.filePath("config.ini"),
                           "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                           "[volume]\r\nvolume=100\r\n[other]\r\nListMode=2\r\nListVisible=1\r\nload_thumbnail=0\r\n");
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());

    // Nothing plays: the magenta and green can only come from the thumbnails.
    expectPattern(x, 1500, "screenshot-thumbnails.png");
    EXPECT_EQ(QFileInfo(state.filePath("image/p1.bmp")).size(), 22554);

    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.exitCode(), 0);
}

namespace {

// The share of the screen that shows the pattern's colours (sampled every other pixel).
double patternShare(const QImage &img)
{
    const auto [magenta, green] = patternPixels(img);
    return double(magenta + green) / ((img.width() / 2) * (img.height() / 2));
}

} // namespace

// Normal, mini mode and full screen with the control strip, on a desktop-like screen with
// a window manager; the pictures are kept as docs/window-*.png.
TEST(Screenshot, WindowModesNormalMiniAndFullScreen)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool", "openbox"}))
        GTEST_SKIP() << tool << " is missing: no window-mode screenshots";
    Xvfb x;
    x.size = QStringLiteral("1280x800x24");
    x.withWindowManager = true;
    ASSERT_TRUE(x.start());
    const QByteArray position = "[Position]\r\nLeft=2850\r\nTop=1500\r\nWidth=13530\r\nHeight=8775\r\nListWidth=6255\r\n"
                                "[volume]\r\nvolume=100\r\n";

    const auto run = [&](const QByteArray &other, const std::function<void()> &act, const char *name) {
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"),
                               position + "[other]\r\nListVisible=1\r\nAutoAdjust=1\r\nPlaySpeed=2\r\nPlayMode=1\r\n" + other);
        Program program(x.display, state.path(), {testsupport::clip("pattern.avi")});
        EXPECT_TRUE(program.started());
        QImage shot;
        EXPECT_TRUE(testsupport::waitFor([&] { return patternShare(x.screenshot()) > 0.05; }, 15000)) << name;
        act();
        QThread::msleep(1500);
        shot = x.screenshot();
        shot.save(QDir::current().absoluteFilePath(QString::fromLatin1(name)));
        EXPECT_TRUE(program.close());
        return shot;
    };

    // Normal: the picture beside the list pane, a third of the screen at most.
    const QImage normal = run("SmallMode=0\r\n", [] {}, "window-normal.png");
    EXPECT_GT(patternShare(normal), 0.05);
    EXPECT_LT(patternShare(normal), 0.3);

    // Mini mode: the same picture with nothing round it; no caption bar above it.
    const QImage mini = run("SmallMode=1\r\n", [] {}, "window-mini.png");
    EXPECT_GT(patternShare(mini), 0.05);

    // Full screen by a double click (mouse mode 4), the strip shown at the top edge.
    const QImage full = run(
        "SmallMode=0\r\nmouse_mode=3\r\n",
        [&] {
            x.xdotool({"mousemove", "350", "300", "click", "--repeat", "2", "--delay", "80", "1"});
            QThread::msleep(1500);
            x.xdotool({"mousemove", "640", "4"});
            QThread::msleep(200);
            x.xdotool({"mousemove", "641", "3"});
        },
        "window-fullscreen.png");
    // 352 × 144 fills the width of a 1280 × 800 screen: 1280 × 524 of it is picture.
    EXPECT_GT(patternShare(full), 0.55);
    // The strip's seek bar crosses the top of the screen: not black there.
    const QColor strip = full.pixelColor(640, 10);
    EXPECT_FALSE(strip.red() < 30 && strip.green() < 30 && strip.blue() < 30);
}

// With no window manager to act on the full-screen request, the window covers the screen
// by itself (it used to keep its size, showing a cropped piece of the full-screen layout).
TEST(Screenshot, FullScreenWithoutAWindowManagerCoversTheScreen)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    x.size = QStringLiteral("1280x800x24");
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    testsupport::writeFile(state.filePath("config.ini"),
                           "[Position]\r\nLeft=1500\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                           "[other]\r\nListVisible=1\r\nAutoAdjust=1\r\nPlaySpeed=2\r\nPlayMode=1\r\nmouse_mode=3\r\n");
    Program program(x.display, state.path(), {testsupport::clip("pattern.avi")});
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(testsupport::waitFor([&] { return patternShare(x.screenshot()) > 0.05; }, 15000));
    x.xdotool({"mousemove", "250", "250", "click", "--repeat", "2", "--delay", "80", "1"});
    QImage shot;
    // 352 × 144 fills the width of a 1280 × 800 screen: 1280 × 524 of it is picture.
    const bool covered = testsupport::waitFor([&] { return patternShare(shot = x.screenshot()) > 0.55; }, 5000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-fullscreen-no-wm.png"));
    shot.save(saved);
    EXPECT_TRUE(covered) << patternShare(shot) << "; see " << saved.toStdString();
    EXPECT_TRUE(program.close());
}

// In full screen the list overlays at the bottom edge and the strip at the top lie above the
// picture on both video paths (the OpenGL path's picture is a native window of its own).
TEST(Screenshot, FullScreenOverlaysLieAboveThePictureOnBothPaths)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    for (const char *path : {"sw", "gl"}) {
        Xvfb x;
        x.size = QStringLiteral("1280x800x24");
        ASSERT_TRUE(x.start());
        qputenv("PLOVANA_VIDEO", path);
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"),
                               "[Position]\r\nLeft=1500\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                               "[other]\r\nListVisible=1\r\nAutoAdjust=1\r\nPlaySpeed=2\r\nPlayMode=1\r\nmouse_mode=3\r\n");
        Program program(x.display, state.path(), {testsupport::clip("pattern.avi")});
        qunsetenv("PLOVANA_VIDEO");
        ASSERT_TRUE(program.started()) << path;
        ASSERT_TRUE(testsupport::waitFor([&] { return patternShare(x.screenshot()) > 0.05; }, 15000)) << path;
        x.xdotool({"mousemove", "250", "250", "click", "--repeat", "2", "--delay", "80", "1"});
        // 352 x 144 fills the width of a 1280 x 800 screen: rows 138 to 661 are picture.
        ASSERT_TRUE(testsupport::waitFor([&] { return patternShare(x.screenshot()) > 0.55; }, 5000)) << path;
        const auto isPicture = [](QRgb c) {
            return (qRed(c) > 220 && qGreen(c) < 40 && qBlue(c) > 220) || (qGreen(c) > 220 && qRed(c) < 40 && qBlue(c) < 40);
        };
        // The pointer at the bottom edge brings the favourites (left) and the files (right)
        // up over the bottom of the picture.
        x.xdotool({"mousemove", "640", "796"});
        QThread::msleep(200);
        x.xdotool({"mousemove", "641", "797"});
        QImage shot;
        const bool overlays = testsupport::waitFor(
            [&] {
                shot = x.screenshot();
                return !isPicture(shot.pixel(100, 620)) && !isPicture(shot.pixel(1200, 620)) && isPicture(shot.pixel(320, 300));
            },
            5000);
        const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-fullscreen-overlays-%1.png").arg(path));
        shot.save(saved);
        EXPECT_TRUE(overlays) << path << ": see " << saved.toStdString();
        // The pointer at the top edge shows the strip: its seek bar crosses the top of the screen.
        x.xdotool({"mousemove", "640", "4"});
        QThread::msleep(200);
        x.xdotool({"mousemove", "641", "3"});
        EXPECT_TRUE(testsupport::waitFor(
            [&] {
                const QColor strip = (shot = x.screenshot()).pixelColor(640, 10);
                return !(strip.red() < 30 && strip.green() < 30 && strip.blue() < 30);
            },
            5000))
            << path;
        EXPECT_TRUE(program.close()) << path;
    }
}

namespace {

// The button frame's grey (Fusion's outline of a push button).
bool isButtonOutline(QRgb c)
{
    return std::abs(qRed(c) - 0xAB) < 8 && std::abs(qGreen(c) - 0xAB) < 8 && std::abs(qBlue(c) - 0xAB) < 8;
}

// Whether a push button's frame of width `width` (pixels) is drawn whole in the strip of the
// screen between x0 and x1 and rows y0..y1: both sides and the top and bottom edges.
bool wholeButtonFrame(const QImage &img, int width, int x0, int x1, int y0, int y1)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x + width - 1 < x1; ++x) {
            const int r = x + width - 1;
            if (!isButtonOutline(img.pixel(x, y)) || !isButtonOutline(img.pixel(r, y)))
                continue;
            int side = 0; // rows with both sides drawn
            while (y + side < img.height() && isButtonOutline(img.pixel(x, y + side))
                   && isButtonOutline(img.pixel(r, y + side)))
                ++side;
            if (side < 12)
                continue;
            // The top and bottom edges, a few rows past the sides' straight part (the corners
            // are rounded).
            auto edgeRow = [&](int from, int step) {
                for (int k = 0, row = from; k < 4 && row >= 0 && row < img.height(); ++k, row += step) {
                    int n = 0;
                    for (int i = x; i <= r; ++i)
                        n += isButtonOutline(img.pixel(i, row));
                    if (n >= width - 8)
                        return true;
                }
                return false;
            };
            if (edgeRow(y - 1, -1) && edgeRow(y + side, 1))
                return true;
        }
    return false;
}

} // namespace

TEST(Screenshot, SearchResultsOfTheLastRunAreListed)
{
    if (const char *tool = missingTool({"Xvfb", "import"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());

    // Twenty results of an earlier run, with the search page shown.
    QTemporaryDir state;
    QByteArray results;
    for (int i = 0; i < 20; ++i)
        results += "\"/media/clips/\",\"result number " + QByteArray::number(i) + ".avi\"\r\n";
    testsupport::writeFile(state.filePath("searchData.ini"), results);
    testsupport::writeFile(state.filePath("config.ini"),
                           "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                           "[volume]\r\nvolume=100\r\n[other]\r\nListMode=3\r\nListVisible=1\r\n");
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());

    // The rows' text in the lists' light blue, in the upper part of the list pane (the
    // logo's caption, in the same blue, lies in the video area on the left).
    QImage shot;
    int text = 0;
    const bool seen = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            text = 0;
            for (int y = 0; y < std::min(shot.height(), 300); ++y)
                for (int x0 = 500; x0 < std::min(shot.width(), 800); ++x0) {
                    const QRgb c = shot.pixel(x0, y);
                    if (std::abs(qRed(c) - 119) < 30 && std::abs(qGreen(c) - 150) < 30 && std::abs(qBlue(c) - 230) < 30)
                        ++text;
                }
            return text > 400;
        },
        15000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-search.png"));
    shot.save(saved);
    EXPECT_TRUE(seen) << text << " pixels of row text; see " << saved.toStdString();

    // The ".." button beside the search text, 375 twips wide (25 pixels), has its whole frame
    // on screen, left of the page tabs' edge (the first grey column after the results' black).
    int tabsEdge = 0;
    for (int x0 = 700; x0 < std::min(shot.width(), 900) && !tabsEdge; ++x0)
        if (qGray(shot.pixel(x0, 400)) > 150 && qGray(shot.pixel(x0 - 1, 400)) < 20)
            tabsEdge = x0;
    ASSERT_GT(tabsEdge, 0) << "no page tabs found; see " << saved.toStdString();
    EXPECT_TRUE(wholeButtonFrame(shot, 25, tabsEdge - 80, tabsEdge, 500, std::min(shot.height(), 560)))
        << "the search button's frame is cut; see " << saved.toStdString();

    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.exitCode(), 0);
    // Shutdown keeps them for the next run.
    EXPECT_EQ(testsupport::readFile(state.filePath("searchData.ini")), results);
}

namespace {

// The share of light grey pixels (a menu's face) in a rectangle of the screen.
double lightShare(const QImage &img, const QRect &r)
{
    int light = 0, all = 0;
    for (int y = r.top(); y <= r.bottom() && y < img.height(); y += 2) {
        for (int x = r.left(); x <= r.right() && x < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
            const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
            ++all;
            if (lo > 200 && hi - lo < 16)
                ++light;
        }
    }
    return all ? double(light) / all : 0.0;
}

} // namespace

TEST(Screenshot, FilePopupOverTwoSelectedFiles)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());

    // The file page at the window's top left, showing a folder of three clips.
    QTemporaryDir state, media;
    for (const char *name : {"a.avi", "b.avi", "c.avi"})
        ASSERT_TRUE(QFile::copy(testsupport::clip("pattern.avi"), media.filePath(QString::fromLatin1(name))));
    testsupport::writeFile(state.filePath("config.ini"),
                           "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                           "[volume]\r\nvolume=100\r\n[directory]\r\nLastDir="
                               + media.path().toUtf8() + "/\r\n[other]\r\nListMode=1\r\nListVisible=1\r\n");
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(x.xdotool({"search", "--sync", "--onlyvisible", "--name", "Plovana"}));
    testsupport::pump(1500);

    // Rows are about 14 pixels high from the list's top, at x 483 in a 900-pixel window:
    // b.avi, then c.avi with Shift, then a right click on c.avi.
    const QRect menuArea(540, 50, 180, 120);
    const double before = lightShare(x.screenshot(), menuArea);
    EXPECT_LT(before, 0.2) << "the black file list";
    ASSERT_TRUE(x.xdotool({"mousemove", "520", "21", "click", "1", "mousemove", "520", "35", "keydown",
                                    "shift", "click", "1", "keyup", "shift", "mousemove", "530", "35", "click",
                                    "3"}));
    QImage shot;
    const bool shown = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            return lightShare(shot, menuArea) > 0.5;
        },
        15000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-file-popup.png"));
    shot.save(saved);
    EXPECT_TRUE(shown) << "no popup over the list; see " << saved.toStdString();

    EXPECT_TRUE(program.close());
    EXPECT_EQ(program.exitCode(), 0);
}

// Under a window manager that frames the window, the rectangle config.ini gives comes back
// unchanged after starts and closes with nothing touched: always on top (which used to
// unmap the window, so that the manager placed it anew, a title bar higher each time) and
// a window started maximised (whose normal rectangle was taken as its client area at the
// frame's corner).
TEST(Screenshot, WindowRectangleSurvivesRestartsUnderAWindowManager)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool", "openbox"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    x.size = QStringLiteral("1280x800x24");
    x.withWindowManager = true;
    ASSERT_TRUE(x.start());
    const QByteArray position = "[Position]\r\nLeft=1500\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\nListWidth=3000\r\n";
    const auto rectangle = [](const QString &config) {
        QStringList values;
        for (const QString &line : QString::fromUtf8(testsupport::readFile(config)).split(u'\n'))
            for (const char *key : {"Left=", "Top=", "Width=", "Height="})
                if (line.startsWith(QLatin1String(key)))
                    values << line.trimmed();
        return values.join(u' ');
    };
    for (const QByteArray &other : {QByteArray("[other]\r\nListVisible=1\r\nWindowState=0\r\nTemae=1\r\n"),
                                   QByteArray("[other]\r\nListVisible=1\r\nWindowState=2\r\nTemae=0\r\n")}) {
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"), position + other);
        for (int run = 0; run < 2; ++run) {
            Program program(x.display, state.path());
            ASSERT_TRUE(program.started());
            ASSERT_TRUE(x.xdotool({"search", "--sync", "--onlyvisible", "--name", "Plovana"}));
            testsupport::pump(1000);
            ASSERT_TRUE(program.close());
            EXPECT_EQ(rectangle(state.filePath("config.ini")), "Left=1500 Top=1500 Width=13500 Height=8400")
                << other.constData() << " run " << run + 1;
        }
    }
}

// A start in mini mode under a window manager: the mini window is the video area a normal
// start has, and leaving mini mode gives the window a normal start gives (it used to come
// back a title bar higher and larger by its frame: the frame was not yet known when mini
// mode took it away).
TEST(Screenshot, StartInMiniModeLeavesToTheNormalWindow)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool", "xwininfo", "openbox"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    x.size = QStringLiteral("1280x800x24");
    x.withWindowManager = true;
    ASSERT_TRUE(x.start());
    const auto geometry = [&] {
        const QString id = x.run(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--class", "plovana"})
                               .first.section(u'\n', 0, 0)
                               .trimmed();
        QStringList values;
        for (const QString &line : x.run(QStringLiteral("xwininfo"), {"-id", id}).first.split(u'\n'))
            if (line.contains(QLatin1String("Absolute upper-left")) || line.contains(QLatin1String("Width:"))
                || line.contains(QLatin1String("Height:")))
                values << line.section(u':', 1).trimmed();
        return values.join(u' ');
    };
    const auto run = [&](bool small, const QString &settledFirst, const QString &settled) {
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"),
                               QByteArray("[Position]\r\nLeft=1500\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\n"
                                          "ListWidth=6255\r\n[other]\r\nListVisible=1\r\nmouse_mode=0\r\nSmallMode=")
                                   + (small ? "1" : "0") + "\r\n");
        Program program(x.display, state.path());
        EXPECT_TRUE(program.started());
        // Shown, then time for the frame to come and mini mode to be entered (1.5 s at
        // most), read until it is the window wanted.
        EXPECT_TRUE(x.xdotool({"search", "--sync", "--onlyvisible", "--class", "plovana"}));
        QThread::msleep(1000);
        QString first;
        testsupport::waitFor([&] { return (first = geometry()) == settledFirst || settledFirst.isEmpty(); }, 4000);
        // A double click on the video (mouse mode 1) switches mini mode.
        x.xdotool({"mousemove", "250", "250", "click", "--repeat", "2", "--delay", "80", "1"});
        // The window manager places and sizes the window when it gets to it (slowly on a
        // loaded machine): the geometry is read until it is the one wanted, or 4 s.
        QString second;
        testsupport::waitFor([&] { return (second = geometry()) == settled || settled.isEmpty(); }, 4000);
        EXPECT_TRUE(program.close());
        return std::pair{first, second};
    };
    const auto [normal, miniFromNormal] = run(false, QString(), QString());
    const auto [miniAtStart, normalFromMini] = run(true, miniFromNormal, normal);
    EXPECT_EQ(miniAtStart, miniFromNormal);
    EXPECT_EQ(normalFromMini, normal);
}

namespace {

// The dark pixels (text, the boxes' outlines) in a column band of the screen above `bottom`,
// or -1 while the band is not mostly the light face of a page (the window not drawn yet).
int inkPixels(const QImage &img, int left, int right, int bottom)
{
    int ink = 0, light = 0, all = 0;
    for (int y = 0; y < std::min(bottom, img.height()); ++y)
        for (int x = std::max(0, left); x < std::min(right, img.width()); ++x) {
            const int gray = qGray(img.pixel(x, y));
            ink += gray < 128;
            light += gray > 200;
            ++all;
        }
    return all > 0 && light > all * 3 / 4 ? ink : -1;
}

// The window of the program on the display (xdotool's first match of its class).
QString programWindow(Xvfb &x)
{
    return x.run(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--class", "plovana"})
        .first.section(u'\n', 0, 0)
        .trimmed();
}

} // namespace

// The basic options at a narrow list pane: the captions wrap, so the page shows as much of
// them as at the pane's design width (they used to be cut at the frame's right edge). The
// pane is the narrowest width-button step from the design width (6255 twips) at which the
// longest pieces of the captions that cannot be broken still fit; narrower, the frame scrolls
// sideways, and at the very narrowest the page tabs take the whole pane. The window is tall
// enough for the wrapped captions to need no scrolling down.
TEST(Screenshot, OptionCaptionsAreWholeAtANarrowListPane)
{
    if (const char *tool = missingTool({"Xvfb", "import"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    x.size = QStringLiteral("1024x1200x24");
    ASSERT_TRUE(x.start());

    // The window is 900 × 1100 pixels at the screen's top left; the pane lies at its right.
    const auto shoot = [&](int listWidth, const char *name) {
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"),
                               "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=16500\r\nListWidth="
                                   + QByteArray::number(listWidth)
                                   + "\r\n[volume]\r\nvolume=100\r\n[other]\r\nListMode=4\r\nListVisible=1\r\n");
        Program program(x.display, state.path());
        EXPECT_TRUE(program.started());
        // The page's ink, once two screenshots in a row agree on it.
        const int left = 900 - listWidth / 15 + 4;
        QImage shot;
        int ink = -1, last = -1;
        testsupport::waitFor(
            [&] {
                last = ink;
                shot = x.screenshot();
                ink = inkPixels(shot, left, 900, 1040);
                return ink > 0 && ink == last;
            },
            15000);
        shot.save(QDir::current().absoluteFilePath(QString::fromLatin1(name)));
        EXPECT_TRUE(program.close());
        return ink;
    };
    const int wide = shoot(6255, "screenshot-options-wide.png");
    const int narrow = shoot(2055, "screenshot-options-narrow.png");
    ASSERT_GT(wide, 2000) << "no options page on screen; see screenshot-options-wide.png";
    EXPECT_NEAR(double(narrow) / wide, 1.0, 0.1)
        << "ink " << narrow << " at the narrow pane, " << wide << " at the design width; see screenshot-options-narrow.png";
}

// The window carries the program's icon in every size (what the window manager, the task
// bar and the window switcher show) and the class that the desktop entry's StartupWMClass
// names.
TEST(ProgramOnX, TheWindowCarriesTheProgramsIconAndClass)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool", "xprop"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());
    const QString id = programWindow(x);
    ASSERT_FALSE(id.isEmpty());

    const QString desktop = QString::fromUtf8(testsupport::readFile(qEnvironmentVariable("PLOVANA_SOURCE") + "/data/plovana.desktop"));
    const QString wmClass = desktop.section(QStringLiteral("\nStartupWMClass="), 1).section(u'\n', 0, 0);
    ASSERT_EQ(wmClass, "plovana");
    EXPECT_TRUE(x.run(QStringLiteral("xprop"), {"-id", id, "WM_CLASS"}).first.contains("= \"plovana\", \"plovana\""));

    // _NET_WM_ICON: width, height, then width × height ARGB values, for each size.
    const auto [text, ok] = x.run(QStringLiteral("xprop"), {"-len", "100000000", "-id", id, "-notype", "32c", "_NET_WM_ICON"});
    ASSERT_TRUE(ok);
    QList<quint32> values;
    for (const QString &v : text.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
        values.append(v.trimmed().toUInt());
    QList<int> sizes;
    for (qsizetype i = 0; i + 2 <= values.size();) {
        const int w = int(values[i]), h = int(values[i + 1]);
        ASSERT_TRUE(w == h && i + 2 + w * h <= values.size()) << "a broken icon at " << i;
        sizes.append(w);
        // Each size is the picture linked into the program, pixel for pixel.
        const QImage png = QImage(QStringLiteral(":/icons/plovana-%1.png").arg(w)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(png.size(), QSize(w, h));
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int xx = 0; xx < w; ++xx) {
                // Colours are compared where the pixel is mostly opaque: a premultiplied
                // copy on the way loses the colour of nearly transparent pixels.
                const QRgb a = values[i + 2 + y * w + xx], b = png.pixel(xx, y);
                const auto near = [](int u, int v) { return std::abs(u - v) <= 3; };
                if (!near(qAlpha(a), qAlpha(b))
                    || (qAlpha(b) > 128
                        && !(near(qRed(a), qRed(b)) && near(qGreen(a), qGreen(b)) && near(qBlue(a), qBlue(b)))))
                    ++differing;
            }
        EXPECT_EQ(differing, 0) << "the " << w << " px icon";
        i += 2 + w * h;
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (QList<int>{16, 22, 24, 32, 48, 64, 128, 256}));
    EXPECT_TRUE(program.close());
}

// `plovana --help` where a file of that name stands in the working directory opens that file
// as any other path: a window, no usage, and the file page on the working directory.
TEST(ProgramOnX, AFileNamedLikeAnOptionInTheWorkingDirectoryIsOpened)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state, work;
    testsupport::writeFile(work.filePath("--help"), "a file, not an option");
    Program program(x.display, state.path(), {"--help"}, work.path());
    ASSERT_TRUE(program.started());
    EXPECT_FALSE(programWindow(x).isEmpty());
    testsupport::pump(1000);
    ASSERT_TRUE(program.close());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(program.process.readAllStandardOutput().contains("Usage"));
    EXPECT_TRUE(testsupport::readFile(state.filePath("config.ini")).contains("LastDir=" + work.path().toUtf8() + "/\r\n"))
        << "the file page shows the file's folder";
}
