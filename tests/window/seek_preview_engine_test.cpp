// The seek bar preview on the real FFmpeg decoder and generated clips: the decoder kept open
// gives the frames a fresh grab gives, the preview at a second is ffmpeg's frame at that
// second, and files the decoder refuses or that are damaged show the time alone or what can
// be decoded, without holding the worker.
#include "support/player_fixture.h"

#include "platform/media_detector.h"
#include "playback/engine_units.h"
#include "playback/playback.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview.h"
#include "window/seek_preview_math.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>

#include <cmath>

using namespace platform;
using testsupport::clip;
using testsupport::waitFor;

namespace {

// ffmpeg's own frame at a second, scaled to 160 pixels wide, as RGB bytes.
QImage ffmpegFrame(const QString &file, int second)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), {"-nostdin", "-v", "error", "-ss", QString::number(second), "-i", file,
                                       "-frames:v", "1", "-vf", "scale=160:-1", "-f", "image2pipe", "-c:v", "png",
                                       "-"});
    if (!p.waitForFinished(20000))
        return {};
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB888);
}

// The mean difference of two pictures of the same size, over every channel of every pixel;
// -1 when the sizes differ.
double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar *p = x.constScanLine(row), *q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 3; ++i)
            sum += std::abs(int(p[i]) - int(q[i]));
    }
    return sum / (x.width() * x.height() * 3.0);
}

} // namespace

TEST(FrameDecoder, KeptOpenItGivesTheFramesOfAFreshGrab)
{
    // Forward by a frame and by seconds (decoded on), the same frame again, backward (a
    // seek), past the end, and the start; across key frames and with B-frames skipped. Also
    // with a quick frame near each position taken first, as while the pointer moves: the
    // frame at the position after it is still the fresh grab's.
    const std::vector<double> positions{0.0, 0.5, 0.52, 0.52, 1.0, 1.04, 3.0, 2.0, 2.96, 4.2, 5.0, 9.9, 12.0, 0.0, 7.5};
    for (const bool nearFirst : {false, true})
    for (const char *name : {"bframes.mp4", "long.avi", "modern.mp4", "redblue.mpg"}) {
        FrameDecoder decoder;
        for (double pos : positions) {
            if (nearFirst) {
                const FrameGrab near = decoder.grabNear(clip(name), pos, 160, 0);
                ASSERT_EQ(near.status, GrabStatus::Ok) << name << " near " << pos;
                EXPECT_EQ(near.image.width, 160);
            }
            const FrameGrab kept = decoder.grab(clip(name), pos, 160, 0);
            ASSERT_EQ(kept.status, GrabStatus::Ok) << name << " at " << pos;
            const FrameGrab fresh = grabFrame(clip(name), pos, kept.image.width, kept.image.height);
            ASSERT_EQ(fresh.status, GrabStatus::Ok) << name << " at " << pos;
            EXPECT_TRUE(kept.image.pixels == fresh.image.pixels) << name << " at " << pos << (nearFirst ? " after a frame near it" : "");
            EXPECT_EQ(decoder.openFile(), clip(name)) << "kept open";
        }
    }
    // At the file's aspect: 176 × 144 pictures are 131 high at 160 wide, 32 × 32 ones square.
    FrameDecoder decoder;
    EXPECT_EQ(decoder.grab(clip("clip.avi"), 1, 160, 0).image.height, 131);
    EXPECT_EQ(decoder.grab(clip("long.avi"), 1, 160, 0).image.height, 160);
    // Another file closes the first; one without a frame leaves none open.
    EXPECT_EQ(decoder.openFile(), clip("long.avi"));
    EXPECT_EQ(decoder.grab(clip("audio.mpg"), 1, 160, 0).status, GrabStatus::NoVideo);
    EXPECT_EQ(decoder.openFile(), QString());
    EXPECT_EQ(decoder.grab(clip("broken.avi"), 1, 160, 0).status, GrabStatus::BadData);
    EXPECT_EQ(decoder.grab(clip("clip.avi"), 1, 160, 0).status, GrabStatus::Ok) << "and opens the next one";
}

class SeekPreviewEngine : public PlayerTest
{
protected:
    SeekPreview &preview() { return *player->seekPreview(); }
    // The x (twips) on the seek bar whose preview is that second.
    std::optional<int> xFor(int second)
    {
        const int w = twips::width(player->controls()->SeekBar());
        const double d = player->playback()->state().duration();
        for (int x = 0; x <= w; ++x)
            if (preview::seekBarSecond(x, w, d, player->playback()->state().isRealMedia()) == second)
                return x;
        return std::nullopt;
    }
    // The preview's picture once the pointer rests where it stands for that second.
    QImage previewAt(int second)
    {
        const auto x = xFor(second);
        if (!x)
            return {};
        preview().SeekBar_Hover(*x);
        if (!waitFor([&] { return preview().shownSecond() == second && preview().shownExact(); }, 10000))
            return {};
        EXPECT_EQ(preview().previewTime()->text(), timeText(second));
        return preview().previewPicture()->pixmap().toImage();
    }
    // Opens a file and waits until its length is known.
    void open(const QString &path)
    {
        player->openMedia(path, 0);
        ASSERT_TRUE(waitFor([&] { return player->playback()->state().duration() > 0; }, 10000)) << path.toStdString();
    }
};

TEST_F(SeekPreviewEngine, PreviewsAtTenAndThreeHundredSecondsAreFfmpegsFrames)
{
    realEngine = true;
    start();
    open(clip("long.avi"));
    const QImage at10 = previewAt(10), at300 = previewAt(300);
    ASSERT_FALSE(at10.isNull());
    ASSERT_FALSE(at300.isNull());
    EXPECT_EQ(at10.size(), QSize(160, 160));
    EXPECT_GT(meanDifference(at10, at300), 30.0) << "the frames of 10 s and 300 s differ";
    for (const auto &[second, image] : {std::pair{10, at10}, std::pair{300, at300}}) {
        const double same = meanDifference(image, ffmpegFrame(clip("long.avi"), second));
        EXPECT_GE(same, 0.0) << second;
        EXPECT_LT(same, 3.0) << "ffmpeg's frame at " << second << " s";
        // Nearer to that second's frame than to those of the seconds around it.
        for (int other : {second - 1, second + 1})
            EXPECT_GT(meanDifference(image, ffmpegFrame(clip("long.avi"), other)), same + 2.0) << second << " against " << other;
    }
    // Hovering back shows the cached frame at once.
    preview().SeekBar_Hover(*xFor(10));
    EXPECT_EQ(preview().shownSecond(), 10);
}

TEST_F(SeekPreviewEngine, AnAudioFileShowsTheTimeAlone)
{
    realEngine = true;
    start();
    open(clip("audio.mpg"));
    preview().SeekBar_Hover(*xFor(2));
    ASSERT_TRUE(waitFor([&] { return !preview().worker()->busy(); }, 10000));
    testsupport::pump(50);
    EXPECT_TRUE(preview().previewWindow()->isVisible());
    EXPECT_FALSE(preview().previewPicture()->isVisible());
    EXPECT_EQ(preview().previewTime()->text(), "0:02");
}

TEST_F(SeekPreviewEngine, RefusedAndDamagedFilesNeverHoldTheWorker)
{
    start(); // the engine double plays anything; the preview's decoder is FFmpeg's
    // Not a media file at all: the time alone, and the decoder is not asked again.
    QByteArray junk(200000, '\0');
    for (char &c : junk)
        c = char(QRandomGenerator::global()->bounded(256));
    engines.media[work("junk.avi")] = fakes::FakeMedia{300.0};
    testsupport::writeFile(work("junk.avi"), junk);
    open(work("junk.avi"));
    preview().SeekBar_Hover(*xFor(100));
    ASSERT_TRUE(waitFor([&] { return !preview().worker()->busy(); }, 5000));
    testsupport::pump(50);
    EXPECT_TRUE(preview().previewWindow()->isVisible());
    EXPECT_FALSE(preview().previewPicture()->isVisible());
    EXPECT_EQ(preview().previewTime()->text(), "1:40");
    preview().SeekBar_Hover(*xFor(200));
    EXPECT_FALSE(preview().worker()->busy()) << "not asked again";

    // long.avi with its middle overwritten: every position answers in time, and the frames
    // before the damage are still its own.
    QByteArray damaged = testsupport::readFile(clip("long.avi"));
    for (qsizetype i = damaged.size() / 3; i < damaged.size() * 2 / 3; ++i)
        damaged[i] = char(QRandomGenerator::global()->bounded(256));
    for (fakes::FakeBackend *b : {engines.movie()})
        if (b)
            b->media[work("damaged.avi")] = fakes::FakeMedia{330.0};
    testsupport::writeFile(work("damaged.avi"), damaged);
    open(work("damaged.avi"));
    for (int second : {10, 150, 165, 200, 250, 320}) {
        preview().SeekBar_Hover(*xFor(second));
        ASSERT_TRUE(waitFor([&] { return !preview().worker()->busy(); }, 5000)) << second;
    }
    preview().SeekBar_Hover(*xFor(10));
    EXPECT_EQ(preview().shownSecond(), 10) << "the first frame asked for was made and kept";
}
