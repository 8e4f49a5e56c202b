// The real program under Xvfb: a screenshot shows the test pattern in the video area.
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

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
    bool start()
    {
        for (int n = 90 + (::getpid() % 100); n < 400; ++n) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display = QStringLiteral(":%1").arg(n);
            server.start(QStringLiteral("Xvfb"), {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
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
    QString display;
    QProcess server;
};

} // namespace

TEST(Screenshot, VideoOfTheTestPatternAppearsInTheWindow)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("import").isEmpty())
        GTEST_SKIP() << "Xvfb or ImageMagick's import is missing: no screenshot test";
    Xvfb x;
    ASSERT_TRUE(x.start());

    QTemporaryDir state;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("PLOVANA_APPDIR", state.path());
    env.insert("PLOVANA_MIXER", "none");
    env.insert("PLOVANA_MPV_AO", "null");
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("PLOVANA_EXE"), {testsupport::clip("pattern.avi")});
    ASSERT_TRUE(program.waitForStarted(5000));

    QImage shot;
    std::pair<int, int> counts;
    const bool seen = testsupport::waitFor(
        [&] {
            shot = x.screenshot();
            counts = patternPixels(shot);
            return counts.first > 2000 && counts.second > 2000;
        },
        15000);
    const QString saved = QDir::current().absoluteFilePath(QStringLiteral("screenshot-pattern.png"));
    shot.save(saved);
    EXPECT_TRUE(seen) << "magenta " << counts.first << ", green " << counts.second << "; see " << saved.toStdString();

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}
