// The real program under Xvfb: a screenshot shows the test pattern in the video area.
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
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
    // The desktop's associations are the test's own: nothing of the user's is read or written.
    env.insert("XDG_CONFIG_HOME", stateDir + "/.xdg-config");
    env.insert("XDG_DATA_HOME", stateDir + "/.xdg-data");
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
        testsupport::signalProcess(process, SIGTERM);
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

// The display server going away under the running program (Qt ends the program when its X
// connection breaks, with no shutdown): the window's new size, changed more than two
// seconds before, is in config.ini all the same; the hand-kept lines stay as they were.
TEST(Screenshot, ChangesMadeBeforeTheDisplayServerDiesAreOnDisk)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    const QByteArray kept = "; kept by hand\r\n[other]\r\nListVisible=1\r\n";
    testsupport::writeFile(state.filePath("config.ini"),
                           kept + "[Position]\r\nLeft=1500\r\nTop=1500\r\nWidth=13500\r\nHeight=8400\r\nListWidth=4000\r\n");
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());
    const QString window = programWindow(x);
    ASSERT_FALSE(window.isEmpty());
    testsupport::pump(500);
    // 700 × 500 pixels are 10500 × 7500 twips at the 15 twips a pixel of a 96 dpi screen.
    ASSERT_TRUE(x.xdotool({"windowsize", window, "700", "500"}));
    ASSERT_TRUE(testsupport::waitFor([&] { return x.run(QStringLiteral("xdotool"), {"getwindowgeometry", window})
                                                  .first.contains(QLatin1String("700x500")); },
                                     5000));
    testsupport::pump(2500);
    x.server.kill();
    x.server.waitForFinished(5000);
    EXPECT_TRUE(program.process.waitForFinished(10000)) << "the program ends with its display";
    const QByteArray config = testsupport::readFile(state.filePath("config.ini"));
    EXPECT_TRUE(config.startsWith(kept)) << config.constData();
    EXPECT_TRUE(config.contains("Width=10500\r\n")) << config.constData();
    EXPECT_TRUE(config.contains("Height=7500\r\n")) << config.constData();
}

namespace {

// A text as the default font draws it, dark on light: the test draws with the same fonts
// as the program on the display.
QImage drawnText(const QString &text)
{
    const QFont font = QApplication::font();
    const QFontMetrics fm(font);
    QImage img(fm.horizontalAdvance(text) + 4, fm.height() + 4, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(2, 2 + fm.ascent(), text);
    return img;
}

bool dark(QRgb c) { return qGray(c) < 128; }

// Where the screenshot shows the text within the area (dark on a light face): the places
// where nine in ten of the text's dark pixels fall on dark pixels, and the box round them
// holds few others (a quarter of the text's: the edges of the strokes shade a little
// differently on the display). Places next to one found are the same place.
QList<QPoint> textPlaces(const QImage &shot, const QRect &area, const QString &text)
{
    const QImage t = drawnText(text);
    QList<QPoint> ink;
    for (int y = 0; y < t.height(); ++y)
        for (int x = 0; x < t.width(); ++x)
            if (dark(t.pixel(x, y)))
                ink.append({x, y});
    QList<QPoint> found;
    if (ink.isEmpty())
        return found;
    const QPoint first = ink.first();
    const QRect within = area.intersected(shot.rect());
    for (int y = within.top(); y + t.height() <= within.bottom() + 1; ++y)
        for (int x = within.left(); x + t.width() <= within.right() + 1; ++x) {
            if (!dark(shot.pixel(x + first.x(), y + first.y())))
                continue;
            int hits = 0;
            for (const QPoint &p : ink)
                hits += dark(shot.pixel(x + p.x(), y + p.y()));
            if (hits * 10 < ink.size() * 9)
                continue;
            int inBox = 0;
            for (int yy = 0; yy < t.height(); ++yy)
                for (int xx = 0; xx < t.width(); ++xx)
                    inBox += dark(shot.pixel(x + xx, y + yy));
            if ((inBox - hits) * 4 > ink.size())
                continue;
            const QPoint at(x + t.width() / 2, y + t.height() / 2);
            const bool again = std::any_of(found.begin(), found.end(),
                                           [&](const QPoint &f) { return (f - at).manhattanLength() < 6; });
            if (!again)
                found.append(at);
        }
    return found;
}

// The program on a 1280 × 1024 × 24 screen with the options page shown, the window at the
// top left, 900 × 560 pixels with the pane at its right.
struct OptionsOnScreen
{
    Xvfb x;
    QTemporaryDir state;
    std::unique_ptr<Program> program;
    QRect pane{480, 0, 420, 560};

    bool start(const QByteArray &mimeapps = {})
    {
        x.size = QStringLiteral("1280x1024x24");
        if (!x.start())
            return false;
        testsupport::writeFile(state.filePath("config.ini"),
                               "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n"
                               "[volume]\r\nvolume=100\r\n[other]\r\nListMode=4\r\nListVisible=1\r\n");
        if (!mimeapps.isEmpty())
            testsupport::writeFile(state.filePath(".xdg-config/mimeapps.list"), mimeapps);
        program = std::make_unique<Program>(x.display, state.path());
        return program->started()
               && testsupport::waitFor([&] { return !textPlaces(x.screenshot(), pane, QStringLiteral("基本")).isEmpty(); },
                                       15000);
    }
    // Clicks the options tab with this caption; the screenshot once the page has drawn `shows`.
    QImage showTab(const QString &caption, const QString &shows, const char *name)
    {
        const QList<QPoint> tab = textPlaces(x.screenshot(), pane, caption);
        EXPECT_EQ(tab.size(), 1) << caption.toStdString();
        QImage shot;
        if (!tab.isEmpty()) {
            x.xdotool({"mousemove", QString::number(tab.first().x()), QString::number(tab.first().y()), "click", "1"});
            testsupport::waitFor([&] { return !textPlaces(shot = x.screenshot(), pane, shows).isEmpty(); }, 10000);
        }
        shot.save(QDir::current().absoluteFilePath(QString::fromLatin1(name)));
        return shot;
    }
};

} // namespace

// 関連付け with avi associated and its default set by another session: the avi boxes show
// it (the avi default box is enabled, the others wait for their association), and reading
// them wrote nothing.
TEST(Screenshot, AssociationsShowWhatMimeappsListHolds)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    const QByteArray list = "[Added Associations]\nvideo/x-msvideo=vlc.desktop;plovana.desktop;\n"
                            "[Default Applications]\nvideo/x-msvideo=plovana.desktop;\n";
    OptionsOnScreen s;
    ASSERT_TRUE(s.start(list)) << "no options page on screen";
    const QImage shot = s.showTab(QStringLiteral("関連付け"), QStringLiteral("関連付け全解除"), "screenshot-associations.png");
    const char *see = "; see screenshot-associations.png";
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("Plovanaを関連付ける")).size(), 1) << see;
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("デフォルトにする")).size(), 1) << see;
    // Dark captions: both avi boxes, but only the association box of mpg and of ram.
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("avi")).size(), 2) << see;
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("mpg")).size(), 1) << see;
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("ram")).size(), 1) << see;
    EXPECT_TRUE(s.program->close());
    EXPECT_EQ(testsupport::readFile(s.state.filePath(".xdg-config/mimeapps.list")), list);
}

// ソフト情報 on a 1280 × 1024 screen of 24 bits: the screen's mode, and the memory bar.
TEST(Screenshot, SoftwareInformationShowsTheScreenAndTheMemory)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    OptionsOnScreen s;
    ASSERT_TRUE(s.start()) << "no options page on screen";
    const QImage shot = s.showTab(QStringLiteral("ソフト情報"), QStringLiteral("画面の解像度"), "screenshot-software.png");
    const char *see = "; see screenshot-software.png";
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("1280×1024 24ビット")).size(), 1) << see;
    EXPECT_TRUE(textPlaces(shot, s.pane, QStringLiteral("1024×768 24ビット")).isEmpty()) << see;
    EXPECT_EQ(textPlaces(shot, s.pane, QStringLiteral("使用可能なメモリ")).size(), 1) << see;
    // The bar's filled part: the style's highlight, a saturated blue.
    int bar = 0;
    for (int y = s.pane.top(); y < s.pane.bottom(); ++y)
        for (int x = s.pane.left(); x < s.pane.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            bar += c.hsvSaturation() > 120 && c.hue() > 190 && c.hue() < 230 && c.value() > 120;
        }
    EXPECT_GT(bar, 300) << see;
    EXPECT_TRUE(s.program->close());
}

// The list editor from the favourites popup: the main window goes while it is open, "ex i t"
// brings it back and the program goes on; opened again, the end of the session ends the
// program (no window is left that would keep it alive).
TEST(ProgramOnX, TheListEditorHidesTheWindowAndTheSessionsEndEndsIt)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    OptionsOnScreen s;
    ASSERT_TRUE(s.start());
    const auto openEditor = [&] {
        // The page tab お気に入り at the pane's right edge, then the popup over the empty
        // list: its first item that can be chosen is "リスト位置編集".
        s.x.xdotool({"mousemove", "885", "110", "click", "1"});
        QThread::msleep(500);
        s.x.xdotool({"mousemove", "650", "250", "click", "3"});
        QThread::msleep(500);
        s.x.xdotool({"key", "Down", "key", "Return"});
        return testsupport::waitFor(
            [&] { return !s.x.run("xdotool", {"search", "--onlyvisible", "--name", "リスト編集"}).first.isEmpty(); }, 5000);
    };
    const auto mainShown = [&] {
        return !s.x.run("xdotool", {"search", "--onlyvisible", "--name", "^Plovana$"}).first.isEmpty();
    };
    ASSERT_TRUE(openEditor()) << "no list editor";
    EXPECT_TRUE(testsupport::waitFor([&] { return !mainShown(); }, 3000)) << "the main window stayed";

    // "ex i t", at the editor's bottom right.
    const QString editor =
        s.x.run("xdotool", {"search", "--onlyvisible", "--name", "リスト編集"}).first.section(u'\n', 0, 0).trimmed();
    const QString geometry = s.x.run("xdotool", {"getwindowgeometry", "--shell", editor}).first;
    const auto value = [&](const char *key) {
        for (const QString &line : geometry.split(u'\n'))
            if (line.startsWith(QLatin1String(key) + u'='))
                return line.section(u'=', 1).toInt();
        return 0;
    };
    s.x.xdotool({"mousemove", QString::number(value("X") + value("WIDTH") - 51),
                 QString::number(value("Y") + value("HEIGHT") - 23), "click", "1"});
    EXPECT_TRUE(testsupport::waitFor(mainShown, 3000)) << "the main window did not come back";
    QThread::msleep(300);
    EXPECT_EQ(s.program->process.state(), QProcess::Running);

    ASSERT_TRUE(openEditor()) << "no list editor the second time";
    EXPECT_TRUE(s.program->close()) << "the program lived on after SIGTERM with the editor open";
    EXPECT_EQ(s.program->exitCode(), 0);
}

// ---- Keys and mouse on a real X server

namespace {

// The window's client area on the screen.
QRect clientArea(Xvfb &x)
{
    QRect r;
    for (const QString &line : x.run(QStringLiteral("xwininfo"), {"-id", programWindow(x)}).first.split(u'\n')) {
        const int value = line.section(u':', 1).trimmed().toInt();
        if (line.contains(QLatin1String("Absolute upper-left X:")))
            r.moveLeft(value);
        else if (line.contains(QLatin1String("Absolute upper-left Y:")))
            r.moveTop(value);
        else if (line.trimmed().startsWith(QLatin1String("Width:")))
            r.setWidth(value);
        else if (line.trimmed().startsWith(QLatin1String("Height:")))
            r.setHeight(value);
    }
    return r;
}
QPoint windowPosition(Xvfb &x) { return clientArea(x).topLeft(); }

// The light pixels (text) in a rectangle of the screen.
int lightPixels(const QImage &img, const QRect &r)
{
    int n = 0;
    for (int y = std::max(0, r.top()); y <= r.bottom() && y < img.height(); ++y)
        for (int x = std::max(0, r.left()); x <= r.right() && x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += std::min({c.red(), c.green(), c.blue()}) > 180;
        }
    return n;
}

// The pixels of one colour (within a few levels) in a rectangle of the screen.
int pixelsOf(const QImage &img, const QRect &r, QColor colour, int tolerance = 6)
{
    int n = 0;
    for (int y = std::max(0, r.top()); y <= r.bottom() && y < img.height(); ++y)
        for (int x = std::max(0, r.left()); x <= r.right() && x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance
                 && std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    return n;
}

QByteArray config(const QByteArray &other, int left = 0, int top = 0)
{
    return "[Position]\r\nLeft=" + QByteArray::number(left) + "\r\nTop=" + QByteArray::number(top)
           + "\r\nWidth=13500\r\nHeight=8400\r\nListWidth=6255\r\n[volume]\r\nvolume=100\r\n" + other;
}

} // namespace

// On "キー＆マウス" (the window at the screen's top left, 900 × 560): the box with the focus
// is cyan, the others black; Page Down and F1 bound there are in key.ini after the exit.
TEST(KeysOnX, TheBindingBoxesShowTheFocusAndTheFileKeepsTheKeys)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    testsupport::writeFile(state.filePath("config.ini"), config("[other]\r\nListMode=4\r\nListVisible=1\r\n"));
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());
    ASSERT_FALSE(programWindow(x).isEmpty());
    testsupport::pump(1000);
    // The frame's tab, then the box of 再生 (the boxes are 19 pixels apart from y 14).
    ASSERT_TRUE(x.xdotool({"mousemove", "651", "541", "click", "1"}));
    testsupport::pump(300);
    const auto box = [](int i) { return QRect(664, 7 + 19 * i, 70, 12); };
    ASSERT_TRUE(x.xdotool({"mousemove", "699", "14", "click", "1"}));
    QImage shot;
    const QColor cyan(0, 255, 255);
    const bool focused = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            return pixelsOf(shot, box(0), cyan) > 500;
        },
        5000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-key-boxes.png"));
    shot.save(saved);
    ASSERT_TRUE(focused) << "the focused box is not cyan; see " << saved.toStdString();
    for (int i = 1; i < 11; ++i) {
        EXPECT_GT(pixelsOf(shot, box(i), Qt::black), 500) << "box " << i << "; see " << saved.toStdString();
        EXPECT_LT(pixelsOf(shot, box(i), cyan), 100) << "box " << i;
    }
    // Page Down binds the double quote and the focus goes to 停止; F1 in 次の動画 binds "p".
    ASSERT_TRUE(x.xdotool({"key", "Next"}));
    testsupport::pump(300);
    ASSERT_TRUE(x.xdotool({"mousemove", "699", "90", "click", "1", "key", "F1"}));
    const bool moved = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            return pixelsOf(shot, box(5), cyan) > 500 && pixelsOf(shot, box(0), cyan) < 100;
        },
        5000);
    shot.save(QDir::current().absoluteFilePath(QStringLiteral("screenshot-key-boxes-bound.png")));
    EXPECT_TRUE(moved) << "the focus did not move on to 前の動画; see screenshot-key-boxes-bound.png";
    EXPECT_TRUE(program.close());
    EXPECT_EQ(testsupport::readFile(state.filePath("key.ini")),
              "\"このファイルを編集しないでください\"\r\n\"\"\"\"\r\n\"W\"\r\n\"X\"\r\n\"Z\"\r\n\"p\"\r\n\"A\"\r\n"
              "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"D\"\r\n\"C\"\r\n");
}

// Held keys as X repeats them: x held a second skips about ten seconds of long.avi, Enter
// held a second pauses it once; a Windows key.ini (CP932) binds its keys.
TEST(KeysOnX, HeldKeysSeekAndToggleOnceAndAWindowsKeyIniBinds)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    testsupport::writeFile(state.filePath("config.ini"),
                           config("[option]\r\nResume=1\r\n[other]\r\nListMode=1\r\nListVisible=1\r\n"));
    // 停止 on ";" (ｺ, byte BA), the rest as they come by default; the notice in Shift-JIS.
    testsupport::writeFile(state.filePath("key.ini"),
                           QByteArray::fromHex("2282b182cc837483408343838b82f095d28f5782b582c882a282c582ad82be82b382a2220d0a")
                               + "\"Q\"\r\n\"\xBA\"\r\n");
    QElapsedTimer clock;
    clock.start();
    Program program(x.display, state.path(), {testsupport::clip("long.avi")});
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(x.xdotool({"search", "--sync", "--onlyvisible", "--class", "plovana", "windowfocus"}));
    ASSERT_TRUE(x.xdotool({"mousemove", "200", "200"}));
    testsupport::pump(1500);
    ASSERT_TRUE(x.xdotool({"keydown", "x", "sleep", "1", "keyup", "x"}));
    testsupport::pump(200);
    ASSERT_TRUE(x.xdotool({"keydown", "Return", "sleep", "1", "keyup", "Return"}));
    const double played = clock.elapsed() / 1000.0; // at most this long without the keys
    testsupport::pump(1000);
    ASSERT_TRUE(program.close());
    const QStringList resume = QString::fromUtf8(testsupport::readFile(state.filePath("resume.ini"))).split(u'\n');
    ASSERT_GE(resume.size(), 3);
    const double position = resume[1].trimmed().toDouble();
    EXPECT_GT(position, 6.0) << "about ten seconds skipped";
    EXPECT_LT(position, played + 14.0);
    EXPECT_EQ(resume[2].trimmed(), "2") << "Enter held paused once";
    // The CP932 binding came in, and went out as UTF-8.
    EXPECT_TRUE(testsupport::readFile(state.filePath("key.ini")).startsWith(
        "\"このファイルを編集しないでください\"\r\n\"Q\"\r\n\"\xEF\xBD\xBA\"\r\n\"X\"\r\n"));
}

// The ";" that key.ini binds to 停止 stops the file.
TEST(KeysOnX, AKeyOfAWindowsKeyIniRunsItsCommand)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    testsupport::writeFile(state.filePath("config.ini"),
                           config("[option]\r\nResume=1\r\n[other]\r\nListMode=1\r\nListVisible=1\r\n"));
    testsupport::writeFile(state.filePath("key.ini"), "\"\x82\xb1\"\r\n\"Q\"\r\n\"\xBA\"\r\n");
    Program program(x.display, state.path(), {testsupport::clip("long.avi")});
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(x.xdotool({"search", "--sync", "--onlyvisible", "--class", "plovana", "windowfocus"}));
    ASSERT_TRUE(x.xdotool({"mousemove", "200", "200"}));
    testsupport::pump(1500);
    ASSERT_TRUE(x.xdotool({"key", "semicolon"}));
    testsupport::pump(500);
    ASSERT_TRUE(program.close());
    const QStringList resume = QString::fromUtf8(testsupport::readFile(state.filePath("resume.ini"))).split(u'\n');
    ASSERT_GE(resume.size(), 3);
    EXPECT_EQ(resume[0].trimmed(), "\"\"") << "stopped: nothing to resume";
}

// A drag on the video, and one on the control bar's free part, move the window: through the
// window manager where one runs, by the window itself where none does (also in mini mode).
// The pointer moves in small steps, as a hand moves it; a press without a move is no drag.
// The window manager's move starts once the pointer has moved a few pixels, and takes the
// window on from there: it may end those pixels short.
TEST(MouseOnX, DragsOnTheVideoAndTheControlBarMoveTheWindow)
{
    if (const char *tool = missingTool({"Xvfb", "xdotool", "xwininfo", "openbox"}))
        GTEST_SKIP() << tool << " is missing";
    const auto drag = [](Xvfb &x, QPoint from, QPoint by) {
        QStringList args{"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1",
                         "sleep", "0.2"};
        constexpr int kSteps = 15;
        for (int i = 1; i <= kSteps; ++i) {
            const QPoint at = from + by * i / kSteps;
            args << "mousemove" << QString::number(at.x()) << QString::number(at.y()) << "sleep" << "0.03";
        }
        args << "sleep" << "0.2" << "mouseup" << "1";
        return x.xdotool(args);
    };
    const auto near = [](QPoint a, QPoint b, int slack) { return (a - b).manhattanLength() <= slack; };
    for (const bool manager : {true, false}) {
        Xvfb x;
        x.withWindowManager = manager;
        ASSERT_TRUE(x.start());
        for (const bool mini : {false, true}) {
            if (manager && mini)
                continue;
            QTemporaryDir state;
            testsupport::writeFile(state.filePath("config.ini"),
                                   config(QByteArray("[other]\r\nListMode=1\r\nListVisible=1\r\nSmallMode=") + (mini ? "1" : "0")
                                              + "\r\n",
                                          1500, 1500));
            Program program(x.display, state.path());
            ASSERT_TRUE(program.started());
            ASSERT_FALSE(programWindow(x).isEmpty());
            testsupport::pump(2000);
            const QPoint start = windowPosition(x);
            const char *where = manager ? "with a window manager" : mini ? "alone, in mini mode" : "alone";
            // The video, 150 pixels into the window.
            ASSERT_TRUE(drag(x, start + QPoint(150, 150), QPoint(60, 40)));
            QPoint now;
            const int slack = manager ? 20 : 0;
            EXPECT_TRUE(testsupport::waitFor([&] { return near(now = windowPosition(x), start + QPoint(60, 40), slack); },
                                             3000))
                << where << ": from " << start.x() << "," << start.y() << " to " << now.x() << "," << now.y();
            if (!mini) {
                // The toolbar's free part, right of its buttons, 12 pixels above the bottom of
                // the client area (the control bar lies at its bottom left).
                const QRect client = clientArea(x);
                ASSERT_TRUE(drag(x, client.bottomLeft() + QPoint(350, -12), QPoint(-30, -20)));
                QPoint after;
                EXPECT_TRUE(testsupport::waitFor(
                    [&] { return near(after = windowPosition(x), now + QPoint(-30, -20), slack); }, 3000))
                    << where << ": the control bar; from " << now.x() << "," << now.y() << " to " << after.x() << ","
                    << after.y();
            }
            EXPECT_TRUE(program.close());
        }
    }
}

// The balloon help over the video: white on RGB(40, 80, 140).
TEST(MouseOnX, TheBalloonHelpIsBlue)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing";
    Xvfb x;
    ASSERT_TRUE(x.start());
    QTemporaryDir state;
    testsupport::writeFile(state.filePath("config.ini"),
                           config("[option]\r\nHidePopup=1\r\n[other]\r\nListMode=1\r\nListVisible=1\r\n"));
    Program program(x.display, state.path());
    ASSERT_TRUE(program.started());
    ASSERT_FALSE(programWindow(x).isEmpty());
    testsupport::pump(1000);
    ASSERT_TRUE(x.xdotool({"mousemove", "150", "120", "sleep", "0.2", "mousemove", "152", "121"}));
    QImage shot;
    int blue = 0;
    const bool shown = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            blue = pixelsOf(shot, shot.rect(), QColor(40, 80, 140), 2);
            return blue > 5000;
        },
        8000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-balloon.png"));
    shot.save(saved);
    EXPECT_TRUE(shown) << blue << " balloon pixels; see " << saved.toStdString();
    // White text on it, below the pointer.
    EXPECT_GT(lightPixels(shot, QRect(140, 120, 500, 80)), 300);
    EXPECT_TRUE(program.close());
}

namespace {

// The bounding box of the pure magenta pixels on a screenshot, and how many there are.
std::pair<QRect, int> magentaBox(const QImage &img)
{
    QRect box;
    int count = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) > 220 && qGreen(c) < 40 && qBlue(c) > 220) {
                box |= QRect(x, y, 1, 1);
                ++count;
            }
        }
    return {box, count};
}

// The window's place on the screen (xdotool's geometry of the program's window).
QRect windowGeometry(Xvfb &x)
{
    const QString id = programWindow(x);
    const QString shell = x.run(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", id}).first;
    const auto value = [&](const char *key) {
        return shell.section(QString::fromLatin1(key) + u'=', 1).section(u'\n', 0, 0).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

} // namespace

// The preview over the seek bar: the clip plays its green first half when the pointer comes to
// rest over 90 % of the bar, and the screen shows the magenta of the second half in a picture 160
// pixels wide at the clip's aspect (176 × 144: 131 high) just above the pointer. It goes when
// the pointer leaves the bar, and never comes with the option off.
TEST(Screenshot, PreviewOfTheFrameUnderThePointerAboveTheSeekBar)
{
    if (const char *tool = missingTool({"Xvfb", "import", "xdotool"}))
        GTEST_SKIP() << tool << " is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());
    const auto run = [&](bool option, const char *name) {
        QTemporaryDir state;
        testsupport::writeFile(state.filePath("config.ini"),
                               "[Position]\r\nLeft=0\r\nTop=0\r\nWidth=13500\r\nHeight=8400\r\n[volume]\r\nvolume=100\r\n"
                               "[option]\r\nAutoAdjust=1\r\nSeekPreview="
                                   + QByteArray(option ? "1" : "0")
                                   + "\r\n[other]\r\nListVisible=0\r\nPlaySpeed=2\r\n");
        Program program(x.display, state.path(), {testsupport::clip("greenmagenta.avi")});
        EXPECT_TRUE(program.started());
        const QRect w = windowGeometry(x);
        EXPECT_NEAR(w.height(), 560, 10) << "the window config.ini gives";
        // The green first half plays.
        EXPECT_TRUE(testsupport::waitFor(
            [&] {
                const QImage shot = x.screenshot();
                return patternPixels(shot).second > 2000 && magentaBox(shot).second == 0;
            },
            15000));
        // The seek bar lies 29 pixels above the window's bottom, 1000 twips in, as wide as the
        // control bar less the time and the volume bar (975 and 1095 twips) plus 200; its track
        // lies 160 twips inside either end.
        const int trackLeft = (1000 + 160) / 15, trackRight = (1000 + w.width() * 15 - 2070 + 200 - 160) / 15;
        const QPoint pointer = w.topLeft() + QPoint(trackLeft + (trackRight - trackLeft) * 9 / 10, w.height() - 29);
        x.xdotool({"mousemove", QString::number(pointer.x()), QString::number(pointer.y())});
        QImage shot;
        std::pair<QRect, int> magenta;
        const bool seen = testsupport::waitFor(
            [&] {
                shot = x.screenshot();
                magenta = magentaBox(shot);
                return magenta.second > 160 * 120;
            },
            option ? 10000 : 2000);
        shot.save(QDir::current().absoluteFilePath(QString::fromLatin1(name)));
        if (option) {
            EXPECT_TRUE(seen) << magenta.second << " magenta pixels; see " << name;
            const QRect box = magenta.first;
            EXPECT_NEAR(box.width(), 160, 2) << name;
            EXPECT_NEAR(box.height(), 131, 2) << name;
            EXPECT_EQ(magenta.second, box.width() * box.height()) << "one picture, all of it magenta";
            EXPECT_LT(box.bottom(), pointer.y() - 12) << "above the seek bar";
            EXPECT_GT(box.bottom(), pointer.y() - 12 - 40) << "just above it";
            EXPECT_TRUE(box.left() <= pointer.x() && pointer.x() <= box.right()) << "over the pointer";
            // The pointer goes up over the video: the preview goes.
            x.xdotool({"mousemove", QString::number(w.left() + 450), QString::number(w.top() + 200)});
            EXPECT_TRUE(testsupport::waitFor([&] { return magentaBox(x.screenshot()).second == 0; }, 5000));
        } else {
            EXPECT_FALSE(seen) << "the option is off; see " << name;
        }
        EXPECT_TRUE(program.close());
    };
    run(true, "screenshot-seek-preview.png");
    run(false, "screenshot-seek-preview-off.png");
}
