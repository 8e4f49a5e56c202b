// Thumbnails of the 200 damaged files of make-damaged.sh on the real FFmpeg decoder, as the
// favourites ask for them when an entry is added (position 0) or as a capture does (a
// position inside the file): every request gets its result within the grab's time limit,
// a bitmap of 100 × 75 is written for each (the placeholder where no frame comes), and
// nothing crashes; then the same files through the seek bar preview's decoder. Quick enough to
// run under the sanitizers with the window tests.
#include "lists/thumbnail_maker.h"
#include "platform/media_detector.h"

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(DamagedThumbnails, EveryFileGetsABitmapWithinTheGrabsTimeLimit)
{
    const QStringList files = testsupport::damagedFiles();
    ASSERT_EQ(files.size(), 200);
    QTemporaryDir images;
    QImage placeholder(ThumbnailMaker::thumbWidth, ThumbnailMaker::thumbHeight, QImage::Format_RGB888);
    placeholder.fill(QColor(27, 18, 20));
    ThumbnailMaker maker(placeholder);
    constexpr int kLimitMs = 3000;
    maker.setTimeout(std::chrono::milliseconds(kLimitMs));

    QList<ThumbnailResult> results;
    QElapsedTimer sinceLast;
    qint64 longest = 0;
    int longestId = -1;
    QObject::connect(&maker, &ThumbnailMaker::thumbnailMade, [&](const ThumbnailResult &r) {
        if (sinceLast.elapsed() > longest) {
            longest = sinceLast.elapsed();
            longestId = r.id;
        }
        sinceLast.restart();
        results.append(r);
    });
    sinceLast.start();
    // Every other file at its start (an entry added), the rest a second in (a capture; past
    // the end of the shortest truncated clips).
    const int requests = static_cast<int>(files.size());
    for (int i = 0; i < requests; ++i) {
        const QString bitmap = images.filePath(QStringLiteral("%1.bmp").arg(i));
        maker.request(files.at(i), i % 2 ? 1.0 : 0.0, bitmap, i);
    }
    // The worker takes one job after another: every result comes within the limit of the
    // one before (and a second for the bitmap file).
    ASSERT_TRUE(testsupport::waitFor([&] { return results.size() == requests; }, requests * (kLimitMs + 1000)))
        << results.size() << " of " << requests;
    EXPECT_LT(longest, kLimitMs + 1000) << files.at(longestId).toStdString();

    int grabbed = 0;
    for (int i = 0; i < requests; ++i) {
        const ThumbnailResult &r = results.at(i);
        const QString file = files.at(i);
        EXPECT_EQ(r.id, i);
        EXPECT_EQ(r.image.size(), QSize(ThumbnailMaker::thumbWidth, ThumbnailMaker::thumbHeight))
            << file.toStdString();
        EXPECT_EQ(QFileInfo(r.bitmapPath).size(), 22554) << file.toStdString();
        // Empty files and random bytes have no frame: the placeholder stands in.
        const QString name = QFileInfo(file).fileName();
        if (name.startsWith(QStringLiteral("empty-")) || name.startsWith(QStringLiteral("random-"))) {
            EXPECT_FALSE(r.ok) << file.toStdString();
        }
        grabbed += r.ok;
    }
    // Most truncated and swapped clips still give their frames.
    EXPECT_GT(grabbed, 50);
}

TEST(DamagedThumbnails, APipeADeviceAndAFolderGetThePlaceholderWithoutBeingOpened)
{
    // A named pipe would hold the worker until a writer comes (never), and with it every
    // thumbnail after it and the program's exit; a device may never end.
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.avi"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString device = dir.filePath(QStringLiteral("zero.mpg"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    const QString folder = dir.filePath(QStringLiteral("folder.avi"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QImage placeholder(ThumbnailMaker::thumbWidth, ThumbnailMaker::thumbHeight, QImage::Format_RGB888);
    placeholder.fill(QColor(27, 18, 20));
    auto maker = std::make_unique<ThumbnailMaker>(placeholder);
    QList<ThumbnailResult> results;
    QObject::connect(maker.get(), &ThumbnailMaker::thumbnailMade,
                     [&](const ThumbnailResult &r) { results.append(r); });
    const QStringList files{pipe, device, folder, testsupport::clip(QStringLiteral("clip.avi"))};
    for (int i = 0; i < files.size(); ++i)
        maker->request(files.at(i), 0, dir.filePath(QStringLiteral("%1.bmp").arg(i)), i);
    ASSERT_TRUE(testsupport::waitFor([&] { return results.size() == files.size(); }, 5000));
    EXPECT_FALSE(results.at(0).ok);
    EXPECT_FALSE(results.at(1).ok);
    EXPECT_FALSE(results.at(2).ok);
    EXPECT_TRUE(results.at(3).ok) << "the clip after them still gets its frame";
    maker->request(pipe, 0, dir.filePath(QStringLiteral("again.bmp")), 9);
    QElapsedTimer shutdown;
    shutdown.start();
    maker.reset();
    EXPECT_LT(shutdown.elapsed(), 1000);
}

// The seek bar preview's decoder over the same files, one decoder for all as the preview
// keeps it: a quick frame near 1 s, then the frame at it, each within the limit and a
// second; a damaged file closes and the next starts afresh, so a good clip after them all
// still gives its frame.
TEST(DamagedPreview, OneDecoderTakesEveryFileAndAGoodClipAfterThem)
{
    using namespace platform;
    const QStringList files = testsupport::damagedFiles();
    ASSERT_EQ(files.size(), 200);
    constexpr int kLimitMs = 3000;
    GrabLimits limits;
    limits.timeout = std::chrono::milliseconds(kLimitMs);
    FrameDecoder decoder;
    int exact = 0;
    for (const QString &file : files) {
        QElapsedTimer t;
        t.start();
        const FrameGrab near = decoder.grabNear(file, 1.0, 160, 0, limits);
        const FrameGrab at = decoder.grab(file, 1.0, 160, 0, limits);
        EXPECT_LT(t.elapsed(), 2 * (kLimitMs + 1000)) << file.toStdString();
        if (at.status == GrabStatus::Ok) {
            EXPECT_EQ(at.image.width, 160) << file.toStdString();
            ++exact;
        }
        if (near.status == GrabStatus::Ok) {
            EXPECT_EQ(near.image.width, 160) << file.toStdString();
        }
    }
    EXPECT_GT(exact, 40);
    const FrameGrab good = decoder.grab(testsupport::clip(QStringLiteral("pattern.avi")), 1.0, 160, 120, limits);
    EXPECT_EQ(good.status, GrabStatus::Ok);
}
