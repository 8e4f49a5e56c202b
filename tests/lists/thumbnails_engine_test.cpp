// Thumbnails on the real FFmpeg decoder with generated clips: the frame chosen for a
// position, failures, the worker's order, cancel and shutdown, and reading the bitmaps back.
#include "lists/thumbnail_maker.h"
#include "platform/bitmap_file.h"
#include "platform/media_detector.h"

#include "support/test_support.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace platform;
using testsupport::clip;
using testsupport::waitFor;

namespace {

QColor pixel(const RgbImage &image, int x, int y)
{
    const auto *p = reinterpret_cast<const unsigned char *>(image.pixels.constData()) + (y * image.width + x) * 3;
    return QColor(p[0], p[1], p[2]);
}

// Within a tolerance that lossy coding and colour conversion stay inside.
::testing::AssertionResult near(const QColor &actual, const QColor &expected)
{
    const int d = std::max({std::abs(actual.red() - expected.red()), std::abs(actual.green() - expected.green()),
                            std::abs(actual.blue() - expected.blue())});
    if (d <= 40)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kMagenta(255, 0, 255), kGreen(0, 255, 0);

QColor centre(const QString &clipName, double position)
{
    const FrameGrab g = grabFrame(clip(clipName), position, 100, 75);
    if (g.status != GrabStatus::Ok)
        return QColor();
    return pixel(g.image, 50, 37);
}

QByteArray rgb(int r, int g, int b)
{
    QByteArray out(3, '\0');
    out[0] = static_cast<char>(r);
    out[1] = static_cast<char>(g);
    out[2] = static_cast<char>(b);
    return out;
}

QImage placeholder()
{
    QImage image(100, 75, QImage::Format_RGB888);
    image.fill(QColor(27, 18, 20));
    return image;
}

} // namespace

// ---------------------------------------------------------------- the media detector

TEST(MediaDetector, PatternComesOutMagentaLeftGreenRight)
{
    const FrameGrab g = grabFrame(clip(QStringLiteral("pattern.avi")), 5.0, 100, 75);
    ASSERT_EQ(g.status, GrabStatus::Ok);
    ASSERT_EQ(g.image.width, 100);
    ASSERT_EQ(g.image.height, 75);
    ASSERT_EQ(g.image.pixels.size(), 100 * 75 * 3);
    for (int y : {2, 37, 72}) {
        EXPECT_TRUE(near(pixel(g.image, 10, y), kMagenta)) << "row " << y;
        EXPECT_TRUE(near(pixel(g.image, 40, y), kMagenta)) << "row " << y;
        EXPECT_TRUE(near(pixel(g.image, 60, y), kGreen)) << "row " << y;
        EXPECT_TRUE(near(pixel(g.image, 90, y), kGreen)) << "row " << y;
    }
    // Through the bitmap file and back, the halves stay where they are.
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("pattern.bmp"));
    ASSERT_TRUE(writeBitmapFile(bmp, g.image));
    EXPECT_EQ(QFileInfo(bmp).size(), 22554);
    const QImage back = loadThumbnail(bmp);
    ASSERT_EQ(back.size(), QSize(100, 75));
    EXPECT_TRUE(near(back.pixelColor(10, 5), kMagenta));
    EXPECT_TRUE(near(back.pixelColor(90, 70), kGreen));
}

TEST(MediaDetector, TheFrameAtThePositionNotTheKeyFrameBeforeIt)
{
    // onekey.avi: one key frame at 0, red frames up to 1.96 s, blue from 2.00 s to 3.96 s.
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 3.0), kBlue));
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 0.0), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 1.0), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 1.99), kRed)); // the last frame at or before
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 2.0), kBlue));
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), 600.0), kBlue)); // past the end: the last frame
    EXPECT_TRUE(near(centre(QStringLiteral("onekey.avi"), -5.0), kRed));
    // Key frames every second: the change at 1 s is found from either side.
    EXPECT_TRUE(near(centre(QStringLiteral("firstred.avi"), 0.96), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("firstred.avi"), 1.5), kBlue));
}

TEST(MediaDetector, PositionsCountFromTheStreamsOwnStart)
{
    // An MPEG program stream whose first frame has the timestamp 0.54 s: that frame is
    // position 0. Red up to 0.84 s, blue from 0.88 s; key frames at 0, 0.48 and 0.96 s.
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 0.0), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 0.5), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 0.86), kRed));
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 0.88), kBlue));
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 1.1), kBlue));
    EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), 2.9), kBlue));
}

TEST(MediaDetector, SeeksEarlierWhenTheFirstFrameDecodedIsPastThePosition)
{
    // The seek to 0.5 to 0.86 s lands between key frames; the first key frame read after it
    // is the blue one at 0.96 s. Every position there must still give its red frame.
    for (int hundredths = 48; hundredths <= 86; hundredths += 2)
        EXPECT_TRUE(near(centre(QStringLiteral("redblue.mpg"), hundredths / 100.0), kRed)) << hundredths;
}

TEST(MediaDetector, EveryVideoContainerGivesAFrame)
{
    for (const char *name : {"clip.avi", "clip.mpg", "clip.dat", "clip.asf", "clip.wmv", "clip.mov", "clip.rm",
                             "clip.rmvb", "modern.mp4", "modern.webm", "modern.mkv", "long.avi"}) {
        const FrameGrab g = grabFrame(clip(QString::fromLatin1(name)), 1.5, 100, 75);
        EXPECT_EQ(g.status, GrabStatus::Ok) << name;
        EXPECT_TRUE(g.image.isValid()) << name;
    }
    // Any size: stretched, not cut.
    const FrameGrab wide = grabFrame(clip(QStringLiteral("pattern.avi")), 1.0, 33, 7);
    ASSERT_EQ(wide.status, GrabStatus::Ok);
    EXPECT_TRUE(near(pixel(wide.image, 2, 3), kMagenta));
    EXPECT_TRUE(near(pixel(wide.image, 30, 3), kGreen));
}

TEST(MediaDetector, FailsWithoutVideoOnBadDataAndAtItsLimits)
{
    EXPECT_EQ(grabFrame(clip(QStringLiteral("audio.mpg")), 1.0, 100, 75).status, GrabStatus::NoVideo);
    EXPECT_EQ(grabFrame(clip(QStringLiteral("clip.ra")), 1.0, 100, 75).status, GrabStatus::NoVideo);
    const GrabStatus broken = grabFrame(clip(QStringLiteral("broken.avi")), 1.0, 100, 75).status;
    EXPECT_TRUE(broken == GrabStatus::BadData || broken == GrabStatus::NoVideo);
    EXPECT_EQ(grabFrame(clip(QStringLiteral("no such file.avi")), 1.0, 100, 75).status, GrabStatus::BadData);
    EXPECT_EQ(grabFrame(clip(QStringLiteral("pattern.avi")), 1.0, 0, 75).status, GrabStatus::BadData);

    EXPECT_EQ(grabFrame(clip(QStringLiteral("pattern.avi")), 1.0, 100, 75, {std::chrono::milliseconds(0)}).status,
              GrabStatus::TimedOut);
    const std::atomic<bool> cancelled{true};
    EXPECT_EQ(grabFrame(clip(QStringLiteral("pattern.avi")), 1.0, 100, 75, {std::chrono::seconds(10), &cancelled})
                  .status,
              GrabStatus::Cancelled);
}

TEST(MediaDetector, FfmpegWritesNothingToTheTerminal)
{
    QTemporaryDir dir;
    // Half a file: the decoder meets cut-off data.
    QByteArray half = testsupport::readFile(clip(QStringLiteral("clip.mpg")));
    half.truncate(half.size() / 2);
    const QString truncated = testsupport::writeFile(dir.filePath(QStringLiteral("half.mpg")), half);
    QByteArray garbage = testsupport::readFile(clip(QStringLiteral("clip.avi")));
    for (qsizetype i = 4096; i < garbage.size(); i += 97)
        garbage[i] = static_cast<char>(garbage[i] ^ 0x5A);
    const QString damaged = testsupport::writeFile(dir.filePath(QStringLiteral("damaged.avi")), garbage);

    const QString log = dir.filePath(QStringLiteral("stderr.txt"));
    fflush(stderr);
    const int saved = dup(2);
    const int fd = ::open(QFile::encodeName(log).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    dup2(fd, 2);
    for (const QString &path : {clip(QStringLiteral("broken.avi")), clip(QStringLiteral("audio.mpg")), truncated, damaged})
        for (double pos : {0.5, 4.0})
            grabFrame(path, pos, 100, 75);
    fflush(stderr);
    dup2(saved, 2);
    ::close(fd);
    ::close(saved);
    EXPECT_EQ(testsupport::readFile(log), QByteArray());
}

// ---------------------------------------------------------------- the thumbnail maker

namespace {

struct Collected
{
    QList<ThumbnailResult> results;
    bool allOnTheUiThread = true;
    void attach(ThumbnailMaker &maker)
    {
        QObject::connect(&maker, &ThumbnailMaker::thumbnailMade, &maker, [this](const ThumbnailResult &r) {
            allOnTheUiThread = allOnTheUiThread && QThread::currentThread() == qApp->thread();
            results.append(r);
        });
    }
    QList<int> ids() const
    {
        QList<int> out;
        for (const auto &r : results)
            out.append(r.id);
        return out;
    }
};

// A grabber for the worker's bookkeeping: records its calls, can hold the first call until
// released, and answers with a solid picture whose red value is the position.
struct ScriptedGrabber
{
    std::mutex mutex;
    QStringList calls;
    std::atomic<bool> holdFirst{false};
    std::atomic<bool> entered{false};
    std::atomic<bool> released{false};
    std::atomic<bool> waitForCancel{false};

    ThumbnailMaker::Grabber function()
    {
        return [this](const QString &media, double position, int w, int h, const GrabLimits &limits) {
            {
                std::lock_guard lock(mutex);
                calls.append(QStringLiteral("%1@%2").arg(QFileInfo(media).fileName()).arg(position));
            }
            const bool hold = holdFirst.exchange(false);
            entered = true;
            while ((hold && !released) || waitForCancel) {
                if (limits.cancelled && limits.cancelled->load())
                    return FrameGrab{GrabStatus::Cancelled, {}};
                QThread::msleep(2);
            }
            RgbImage image{w, h, {}};
            for (int i = 0; i < w * h; ++i)
                image.pixels.append(rgb(static_cast<int>(position), 0, 0));
            return FrameGrab{GrabStatus::Ok, image};
        };
    }
    QStringList recorded()
    {
        std::lock_guard lock(mutex);
        return calls;
    }
};

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(ThumbnailMaker, ResultsComeInRequestOrderWithThePlaceholderForFailures)
{
    QTemporaryDir dir;
    ThumbnailMaker maker(placeholder());
    Collected got;
    got.attach(maker);
    const QString fresh = dir.filePath(QStringLiteral("media/image/onekey.bmp")); // folder does not exist yet
    maker.request(clip(QStringLiteral("pattern.avi")), 2.0, dir.filePath(QStringLiteral("pattern.bmp")), 11);
    maker.request(clip(QStringLiteral("audio.mpg")), 1.0, dir.filePath(QStringLiteral("audio.bmp")), 12);
    maker.request(clip(QStringLiteral("broken.avi")), 1.0, dir.filePath(QStringLiteral("broken.bmp")), 13);
    maker.request(clip(QStringLiteral("onekey.avi")), 3.0, fresh, 14);
    maker.request(clip(QStringLiteral("redblue.mpg")), 0.0, dir.filePath(QStringLiteral("redblue.bmp")), 15);
    EXPECT_EQ(maker.pendingCount(), 5);
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 5; }, 20000));
    EXPECT_EQ(maker.pendingCount(), 0);
    EXPECT_TRUE(got.allOnTheUiThread);
    EXPECT_EQ(got.ids(), (QList<int>{11, 12, 13, 14, 15}));

    const QList<bool> expectedOk{true, false, false, true, true};
    for (int i = 0; i < 5; ++i) {
        const ThumbnailResult &r = got.results[i];
        EXPECT_EQ(r.ok, expectedOk[i]) << r.id;
        EXPECT_EQ(QFileInfo(r.bitmapPath).size(), 22554) << r.id;
        EXPECT_EQ(r.image.size(), QSize(100, 75)) << r.id;
        // The picture in memory is the picture in the file.
        EXPECT_EQ(loadThumbnail(r.bitmapPath).convertToFormat(QImage::Format_RGB888), r.image) << r.id;
    }
    EXPECT_EQ(got.results[3].bitmapPath, fresh);
    EXPECT_TRUE(near(got.results[0].image.pixelColor(10, 37), kMagenta));
    EXPECT_TRUE(near(got.results[0].image.pixelColor(90, 37), kGreen));
    EXPECT_EQ(got.results[1].image, placeholder()); // no video
    EXPECT_EQ(got.results[2].image, placeholder()); // bad data
    EXPECT_TRUE(near(got.results[3].image.pixelColor(50, 37), kBlue)); // a real frame in a new folder
    EXPECT_TRUE(near(got.results[4].image.pixelColor(50, 37), kRed));
}

TEST(ThumbnailMaker, ATimedOutGrabSavesThePlaceholder)
{
    QTemporaryDir dir;
    ThumbnailMaker maker(placeholder());
    maker.setTimeout(std::chrono::milliseconds(0));
    Collected got;
    got.attach(maker);
    maker.request(clip(QStringLiteral("pattern.avi")), 2.0, dir.filePath(QStringLiteral("p.bmp")), 1);
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 1; }));
    EXPECT_FALSE(got.results[0].ok);
    EXPECT_EQ(got.results[0].image, placeholder());
    EXPECT_EQ(loadThumbnail(dir.filePath(QStringLiteral("p.bmp"))).convertToFormat(QImage::Format_RGB888),
              placeholder());
}

TEST(ThumbnailMaker, ARequestForAQueuedBitmapJoinsItsJob)
{
    QTemporaryDir dir;
    ScriptedGrabber grabber;
    grabber.holdFirst = true;
    ThumbnailMaker maker(placeholder(), nullptr, grabber.function());
    Collected got;
    got.attach(maker);
    const QString p0 = dir.filePath(QStringLiteral("p0.bmp")), p1 = dir.filePath(QStringLiteral("p1.bmp")),
                  p2 = dir.filePath(QStringLiteral("p2.bmp"));
    maker.request(QStringLiteral("/m/a.avi"), 0, p0, 1);
    ASSERT_TRUE(waitFor([&] { return grabber.entered.load(); }));
    maker.request(QStringLiteral("/m/b.avi"), 1, p1, 2);
    maker.request(QStringLiteral("/m/c.avi"), 2, p2, 3);
    maker.request(QStringLiteral("/n/b.mpg"), 4, p1, 4);                   // waiting: joins id 2's job, newer file
    maker.request(QStringLiteral("/m/a.avi"), 5, p0, 5);                   // running: a job of its own
    maker.request(QStringLiteral("/m/c.avi"), 6, dir.path() + "/./p2.bmp", 6); // the same file, spelt otherwise
    grabber.released = true;
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 6; }));
    EXPECT_EQ(got.ids(), (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(grabber.recorded(), (QStringList{"a.avi@0", "b.mpg@4", "c.avi@6", "a.avi@5"}));
    // Both ids of the joined job get its picture.
    EXPECT_EQ(got.results[1].image.pixelColor(0, 0).red(), 4);
    EXPECT_EQ(got.results[3].image.pixelColor(0, 0).red(), 4);
    EXPECT_EQ(got.results[1].bitmapPath, p1);
    EXPECT_EQ(got.results[3].bitmapPath, p1);
    // The running job kept its own position; the later one made the file.
    EXPECT_EQ(got.results[0].image.pixelColor(0, 0).red(), 0);
    EXPECT_EQ(got.results[4].image.pixelColor(0, 0).red(), 5);
    EXPECT_EQ(loadThumbnail(p0).pixelColor(0, 0).red(), 5);
}

TEST(ThumbnailMaker, AnAddForABitmapWaitingOrBeingMadeKeepsTheFirstFilesJob)
{
    QTemporaryDir dir;
    ScriptedGrabber grabber;
    grabber.holdFirst = true;
    ThumbnailMaker maker(placeholder(), nullptr, grabber.function());
    Collected got;
    got.attach(maker);
    const QString x = dir.filePath(QStringLiteral("x.bmp")), y = dir.filePath(QStringLiteral("y.bmp"));
    maker.request(QStringLiteral("/v0/other.avi"), 9, dir.filePath(QStringLiteral("o.bmp")), 1, true);
    ASSERT_TRUE(waitFor([&] { return grabber.entered.load(); }));
    maker.request(QStringLiteral("/v1/x.avi"), 1, x, 2, true);
    maker.request(QStringLiteral("/v2/x.mpg"), 2, x, 3, true); // waiting: joins, keeps x.avi
    grabber.released = true;
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 3; }));

    grabber.entered = false;
    grabber.released = false;
    grabber.holdFirst = true;
    maker.request(QStringLiteral("/v1/y.avi"), 3, y, 4, true);
    ASSERT_TRUE(waitFor([&] { return grabber.entered.load(); }));
    maker.request(QStringLiteral("/v2/y.mpg"), 4, y, 5, true); // being made: waits for it
    grabber.released = true;
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 5; }));
    EXPECT_EQ(grabber.recorded(), (QStringList{"other.avi@9", "x.avi@1", "y.avi@3"}));
    EXPECT_EQ(got.ids(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(got.results[1].image.pixelColor(0, 0).red(), 1);
    EXPECT_EQ(got.results[2].image.pixelColor(0, 0).red(), 1);
    EXPECT_EQ(got.results[3].image.pixelColor(0, 0).red(), 3);
    EXPECT_EQ(got.results[4].image.pixelColor(0, 0).red(), 3);
    EXPECT_EQ(loadThumbnail(x).pixelColor(0, 0).red(), 1);
    EXPECT_EQ(loadThumbnail(y).pixelColor(0, 0).red(), 3);
}

TEST(ThumbnailMaker, TwoRealFilesOfOneTitleGiveTheFirstFilesFrame)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("v1"));
    QDir(dir.path()).mkpath(QStringLiteral("v2"));
    const QString avi = dir.filePath(QStringLiteral("v1/x.avi")), mpg = dir.filePath(QStringLiteral("v2/x.mpg"));
    ASSERT_TRUE(QFile::copy(clip(QStringLiteral("pattern.avi")), avi));  // magenta | green
    ASSERT_TRUE(QFile::copy(clip(QStringLiteral("redblue.mpg")), mpg)); // red at the start
    ThumbnailMaker maker(placeholder());
    Collected got;
    got.attach(maker);
    // Three entries before them keep the worker busy, as a list being added does.
    for (int i = 0; i < 3; ++i)
        maker.request(clip(QStringLiteral("clip.avi")), 1.0, dir.filePath(QStringLiteral("c%1.bmp").arg(i)), i, true);
    const QString x = dir.filePath(QStringLiteral("image/x.bmp"));
    maker.request(avi, 0, x, 10, true);
    maker.request(mpg, 0, x, 11, true);
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 5; }, 20000));
    for (int k : {3, 4}) {
        EXPECT_TRUE(near(got.results[k].image.pixelColor(10, 37), kMagenta)) << k;
        EXPECT_TRUE(near(got.results[k].image.pixelColor(90, 37), kGreen)) << k;
    }
    const QImage saved = loadThumbnail(x);
    EXPECT_TRUE(near(saved.pixelColor(10, 37), kMagenta));
    EXPECT_TRUE(near(saved.pixelColor(90, 37), kGreen));
}

TEST(ThumbnailMaker, CancelDropsEveryPendingRequestAndStopsTheRunningJob)
{
    QTemporaryDir dir;
    ScriptedGrabber grabber;
    grabber.waitForCancel = true;
    ThumbnailMaker maker(placeholder(), nullptr, grabber.function());
    Collected got;
    got.attach(maker);
    for (int i = 0; i < 5; ++i)
        maker.request(QStringLiteral("/m/%1.avi").arg(i), i, dir.filePath(QStringLiteral("%1.bmp").arg(i)), i);
    ASSERT_TRUE(waitFor([&] { return grabber.entered.load(); }));
    maker.cancelAll();
    EXPECT_EQ(maker.pendingCount(), 0);
    grabber.waitForCancel = false;
    testsupport::pump(300);
    EXPECT_TRUE(got.results.isEmpty());
    EXPECT_EQ(grabber.recorded().size(), 1); // the waiting jobs never ran
    EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(u' ').toStdString();

    // The maker goes on with new work.
    maker.request(QStringLiteral("/m/new.avi"), 7, dir.filePath(QStringLiteral("new.bmp")), 42);
    ASSERT_TRUE(waitFor([&] { return got.results.size() == 1; }));
    EXPECT_EQ(got.results[0].id, 42);
    EXPECT_TRUE(got.results[0].ok);
    EXPECT_EQ(filesIn(dir.path()), QStringList{QStringLiteral("new.bmp")});
}

TEST(ThumbnailMaker, ShutdownWithAJobRunningAndManyWaitingReturnsAtOnce)
{
    QTemporaryDir dir;
    ScriptedGrabber grabber;
    grabber.waitForCancel = true;
    auto maker = std::make_unique<ThumbnailMaker>(placeholder(), nullptr, grabber.function());
    Collected got;
    got.attach(*maker);
    for (int i = 0; i < 100; ++i)
        maker->request(QStringLiteral("/m/%1.avi").arg(i), i, dir.filePath(QStringLiteral("%1.bmp").arg(i)), i);
    ASSERT_TRUE(waitFor([&] { return grabber.entered.load(); }));
    QElapsedTimer timer;
    timer.start();
    maker->shutdown();
    EXPECT_LT(timer.elapsed(), 1000);
    maker->request(QStringLiteral("/m/late.avi"), 1, dir.filePath(QStringLiteral("late.bmp")), 500);
    testsupport::pump(200);
    EXPECT_TRUE(got.results.isEmpty());
    EXPECT_TRUE(filesIn(dir.path()).isEmpty());
    maker.reset(); // a second shutdown in the destructor is harmless
}

TEST(ThumbnailMaker, ShutdownOnTheRealDecoderLeavesOnlyWholeBitmaps)
{
    QTemporaryDir dir;
    Collected got;
    {
        ThumbnailMaker maker(placeholder());
        got.attach(maker);
        for (int i = 0; i < 400; ++i)
            maker.request(clip(i % 2 ? QStringLiteral("onekey.avi") : QStringLiteral("clip.mpg")), (i % 40) / 10.0,
                          dir.filePath(QStringLiteral("%1.bmp").arg(i)), i);
        QThread::msleep(50); // let some of them finish
        QElapsedTimer timer;
        timer.start();
        maker.shutdown();
        EXPECT_LT(timer.elapsed(), 1000);
        testsupport::pump(100);
    }
    EXPECT_TRUE(got.results.isEmpty()); // shut down before the UI thread took any result
    const QStringList files = filesIn(dir.path());
    EXPECT_LT(files.size(), 400);
    for (const QString &name : files) {
        EXPECT_TRUE(name.endsWith(QStringLiteral(".bmp"))) << name.toStdString();
        EXPECT_EQ(QFileInfo(dir.filePath(name)).size(), 22554) << name.toStdString();
    }
}

// ---------------------------------------------------------------- reading thumbnails

TEST(LoadThumbnail, AFileRemadeWithinTheSameSecondIsReadAnew)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    RgbImage red{100, 75, {}}, blue{100, 75, {}};
    for (int i = 0; i < 100 * 75; ++i) {
        red.pixels.append(rgb(255, 0, 0));
        blue.pixels.append(rgb(0, 0, 255));
    }
    ASSERT_TRUE(writeBitmapFile(path, red));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QDateTime stamp = f.fileTime(QFileDevice::FileModificationTime);
    f.close();
    EXPECT_EQ(loadThumbnail(path).pixelColor(50, 37), kRed);
    ASSERT_TRUE(writeBitmapFile(path, blue));
    // Same size, same modification second.
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.setFileTime(stamp, QFileDevice::FileModificationTime);
    f.close();
    EXPECT_EQ(loadThumbnail(path).pixelColor(50, 37), kBlue);
}

TEST(LoadThumbnail, HugePicturesAreReadScaledOrRefused)
{
    // 9000 × 8000 would need 288 MB decoded whole; read at a reduced scale it is small.
    const QImage photo = loadThumbnail(clip(QStringLiteral("huge.jpg")));
    ASSERT_EQ(photo.size(), QSize(100, 75));
    EXPECT_TRUE(near(photo.pixelColor(50, 37), kRed));

    // A bitmap header that claims 40000 × 40000 pixels is not decoded at all.
    QByteArray header = bitmapBytes(RgbImage{1, 1, QByteArray(3, '\0')});
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(18, 40000);
    put32(22, 40000);
    QTemporaryDir dir;
    const QString lie = testsupport::writeFile(dir.filePath(QStringLiteral("lie.bmp")), header);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(loadThumbnail(lie).isNull());
    EXPECT_LT(timer.elapsed(), 1000);

    EXPECT_TRUE(loadThumbnail(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
    EXPECT_TRUE(loadThumbnail(clip(QStringLiteral("broken.avi"))).isNull());
    // Any other size is stretched to the thumbnail's.
    RgbImage small{10, 10, QByteArray(300, '\x20')};
    const QString smallPath = dir.filePath(QStringLiteral("small.bmp"));
    ASSERT_TRUE(writeBitmapFile(smallPath, small));
    EXPECT_EQ(loadThumbnail(smallPath).size(), QSize(100, 75));
}
