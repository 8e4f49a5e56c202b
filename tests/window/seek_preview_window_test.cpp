// The preview over the seek bar in the real main window, its frames from a decoder double:
// only the newest request waits, a cached position shows without the worker, the preview
// stands above the pointer and inside the screen, and it hides when the pointer leaves, a
// drag starts, in mini mode and with its option off.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "playback/engine_units.h"
#include "playback/playback.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview.h"
#include "window/seek_preview_math.h"
#include "window/window_modes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// What the decoder double was asked, and a gate that holds its grabs until opened.
struct FakeFrames
{
    std::mutex mutex;
    std::condition_variable changed;
    bool gateOpen = true;
    bool ignoreCancel = false; // a grab that does not notice the cancel (a hung read)
    std::optional<int> holdExactOf; // the frame at this second waits; frames near it pass
    std::vector<std::pair<QString, int>> calls;
    std::vector<bool> near; // of each call: a frame near the second asked for
    int running = 0;
    int cancelled = 0;
    int closes = 0;

    void setGate(bool open, std::optional<int> exactHeld = std::nullopt)
    {
        std::lock_guard lock(mutex);
        gateOpen = open;
        holdExactOf = exactHeld;
        changed.notify_all();
    }
    std::vector<bool> nearCalls()
    {
        std::lock_guard lock(mutex);
        return near;
    }
    std::vector<int> seconds()
    {
        std::lock_guard lock(mutex);
        std::vector<int> v;
        for (const auto &c : calls)
            v.push_back(c.second);
        return v;
    }
    int callCount()
    {
        std::lock_guard lock(mutex);
        return static_cast<int>(calls.size());
    }
    int runningNow()
    {
        std::lock_guard lock(mutex);
        return running;
    }
    int cancelledCount()
    {
        std::lock_guard lock(mutex);
        return cancelled;
    }
    QString lastFile()
    {
        std::lock_guard lock(mutex);
        return calls.empty() ? QString() : calls.back().first;
    }
};

// The frame of second s is 160 × 90 of one colour: red s, green 255 − s; a frame near it
// has blue 200.
QRgb colourOf(int second, bool near = false) { return qRgb(second % 256, 255 - second % 256, near ? 200 : 40); }

class FakePreviewDecoder final : public PreviewDecoder
{
public:
    explicit FakePreviewDecoder(std::shared_ptr<FakeFrames> f) : m_f(std::move(f)) {}

    platform::FrameGrab grab(const QString &file, int second, int width, bool near,
                             const platform::GrabLimits &limits) override
    {
        std::unique_lock lock(m_f->mutex);
        m_f->calls.emplace_back(file, second);
        m_f->near.push_back(near);
        ++m_f->running;
        m_f->changed.notify_all();
        const auto stop = [&] { return !m_f->ignoreCancel && limits.cancelled && limits.cancelled->load(); };
        while ((!m_f->gateOpen || (!near && m_f->holdExactOf == second)) && !stop())
            m_f->changed.wait_for(lock, std::chrono::milliseconds(5));
        --m_f->running;
        if (stop()) {
            ++m_f->cancelled;
            return {platform::GrabStatus::Cancelled, {}};
        }
        if (file.contains("audio"))
            return {platform::GrabStatus::NoVideo, {}};
        if (file.contains("refused"))
            return {platform::GrabStatus::BadData, {}};
        const int height = width * 9 / 16;
        platform::RgbImage image{width, height, QByteArray()};
        const QRgb c = colourOf(second, near);
        for (int i = 0; i < width * height; ++i)
            image.pixels.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        return {platform::GrabStatus::Ok, image};
    }
    void close() override
    {
        std::lock_guard lock(m_f->mutex);
        ++m_f->closes;
    }

private:
    std::shared_ptr<FakeFrames> m_f;
};

} // namespace

class SeekPreviewTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        previewDecoder = [f = frames] { return std::make_unique<FakePreviewDecoder>(f); };
        start();
        player->playback()->tmrPosition()->setInterval(100000); // no ticks move the bar meanwhile
        // A window that fits the offscreen screen, at its top-left corner.
        player->resize(700, 500);
        player->move(0, 0);
        testsupport::pump(50);
    }
    void TearDown() override
    {
        frames->setGate(true);
        PlayerTest::TearDown();
    }

    SeekPreview &preview() { return *player->seekPreview(); }
    QWidget *bar() { return player->controls()->SeekBar(); }
    QWidget *window() { return preview().previewWindow(); }
    void open(const QString &name, double duration = 600.0)
    {
        engines.media[work(name)] = fakes::FakeMedia{duration};
        for (fakes::FakeBackend *b : {engines.movie(), engines.real()})
            if (b)
                b->media[work(name)] = fakes::FakeMedia{duration}; // the engines made already
        player->openMedia(touch(name), 0);
        if (player->playback()->state().duration() != duration)
            player->playback()->tmrPosition_Timer(); // RealMedia tells its length in the tick
        ASSERT_DOUBLE_EQ(player->playback()->state().duration(), duration);
    }
    // The pixel x on the bar that stands for a fraction of the track.
    int at(double f)
    {
        const int w = twips::width(bar());
        return twips::toPixelsX(160 + static_cast<int>(f * (w - 320)));
    }
    static void send(QWidget *w, QEvent::Type type, int x, Qt::MouseButtons buttons = Qt::NoButton)
    {
        const QPointF p(x, w->height() / 2);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, p, w->mapToGlobal(p), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    // The pointer rests over the bar at x (pixels); the second it stands for.
    int hover(int x, QWidget *on = nullptr)
    {
        send(on ? on : bar(), QEvent::MouseMove, x);
        return preview().pointerSecond().value_or(-1);
    }
    bool waitShown(int second)
    {
        return testsupport::waitFor([&] { return preview().shownSecond() == second && preview().shownExact(); }, 3000);
    }
    QRgb shownColour()
    {
        return preview().previewPicture()->pixmap().toImage().pixel(10, 10);
    }

    std::shared_ptr<FakeFrames> frames = std::make_shared<FakeFrames>();
};

TEST_F(SeekPreviewTest, TheFrameAndTimeOfThePositionAClickThereSeeksTo)
{
    open("a.avi");
    EXPECT_TRUE(player->options()->Check_SeekPreview()->isChecked()) << "on by default";
    const int x = at(0.25);
    const int second = hover(x);
    EXPECT_EQ(second, preview::seekBarSecond(twips::fromPixelsX(x), twips::width(bar()), 600, false));
    EXPECT_NEAR(second, 150, 2);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(preview().previewTime()->text(), timeText(second));
    ASSERT_TRUE(waitShown(second));
    EXPECT_EQ(shownColour(), colourOf(second));
    EXPECT_EQ(preview().previewPicture()->size(), QSize(160, 90));
    EXPECT_EQ(frames->callCount(), 1);
    EXPECT_EQ(frames->lastFile(), work("a.avi"));
    // Past the track's right end: the end of the clip, as a click there.
    EXPECT_EQ(hover(bar()->width() - 1), 600);
    EXPECT_EQ(preview().previewTime()->text(), "10:00");
    ASSERT_TRUE(waitShown(600));
    EXPECT_EQ(hover(0), 0);
    EXPECT_EQ(preview().previewTime()->text(), "0:00");
}

TEST_F(SeekPreviewTest, OnlyTheNewestRequestWaits)
{
    open("a.avi");
    frames->setGate(false);
    const int first = hover(at(0.1));
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->runningNow() == 1; }));
    // Three more moves while the first frame is being made: only the last one waits.
    hover(at(0.3));
    hover(at(0.5));
    const int last = hover(at(0.7));
    frames->setGate(true);
    ASSERT_TRUE(waitShown(last));
    testsupport::pump(100);
    // The newest, asked while the worker was busy, first got a frame near it (quickly), then
    // the frame at it.
    EXPECT_EQ(frames->seconds(), (std::vector<int>{first, last, last}));
    EXPECT_EQ(frames->nearCalls(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(shownColour(), colourOf(last));
    EXPECT_EQ(preview().previewTime()->text(), timeText(last));
    // Both frames were kept; the ones dropped were never made.
    EXPECT_EQ(preview().cache().count(), 2);
}

TEST_F(SeekPreviewTest, WhileThePointerMovesAFrameNearItStandsIn)
{
    open("a.avi");
    frames->setGate(false);
    const int first = hover(at(0.1));
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->runningNow() == 1; }));
    const int moved = hover(at(0.6));
    // The frame at the first position comes, then a frame near the second, at once.
    frames->setGate(true, moved);
    ASSERT_TRUE(testsupport::waitFor([&] { return preview().shownSecond() == moved; }));
    EXPECT_FALSE(preview().shownExact());
    EXPECT_EQ(shownColour(), colourOf(moved, true));
    EXPECT_TRUE(preview().cache().contains(work("a.avi"), first));
    EXPECT_FALSE(preview().cache().contains(work("a.avi"), moved)) << "a frame near a second is not kept for it";
    // Then the frame at it replaces it.
    frames->setGate(true);
    ASSERT_TRUE(waitShown(moved));
    EXPECT_EQ(shownColour(), colourOf(moved));
    EXPECT_TRUE(preview().cache().contains(work("a.avi"), moved));
}

TEST_F(SeekPreviewTest, ACachedPositionShowsAtOnceWithoutTheWorker)
{
    open("a.avi");
    const int a = hover(at(0.2));
    ASSERT_TRUE(waitShown(a));
    const int b = hover(at(0.6));
    ASSERT_TRUE(waitShown(b));
    const int calls = frames->callCount();
    // Back over the first position: shown before any event is processed.
    EXPECT_EQ(hover(at(0.2)), a);
    EXPECT_EQ(preview().shownSecond(), a);
    EXPECT_EQ(shownColour(), colourOf(a));
    testsupport::pump(50);
    EXPECT_EQ(frames->callCount(), calls);

    // A frame made for an older request never replaces the cached newer one.
    frames->setGate(false);
    const int c = hover(at(0.9));
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->runningNow() == 1; }));
    EXPECT_EQ(hover(at(0.6)), b); // cached: shown at once
    frames->setGate(true);
    ASSERT_TRUE(testsupport::waitFor([&] { return preview().cache().count() == 3; }));
    testsupport::pump(50);
    EXPECT_EQ(preview().shownSecond(), b) << "the frame at " << c << " came after the pointer had moved on";
}

TEST_F(SeekPreviewTest, AboveThePointerAndInsideTheScreenAtBothEndsOfTheBar)
{
    open("a.avi");
    const QRect screen = bar()->screen()->geometry();
    const auto check = [&](int x, const char *where) {
        const int second = hover(x);
        EXPECT_TRUE(waitShown(second)) << where;
        const QRect r = window()->frameGeometry();
        const QPoint pointer = bar()->mapToGlobal(QPoint(x, 0));
        EXPECT_TRUE(screen.contains(r)) << where;
        EXPECT_LE(r.bottom(), pointer.y() - 1) << where << ": above the bar";
        EXPECT_GE(r.bottom(), pointer.y() - 2 * preview::kGap) << where << ": just above it";
        EXPECT_TRUE(r.left() <= pointer.x() && pointer.x() <= r.right()) << where << ": over the pointer";
        return r;
    };
    // The window at the screen's left edge: the left end of the bar lies within half a
    // preview of it.
    const QRect left = check(at(0.0), "left end");
    EXPECT_EQ(left.left(), screen.left());
    // In the middle the preview is centred on the pointer.
    const QRect middle = check(at(0.5), "middle");
    EXPECT_NEAR(middle.center().x(), bar()->mapToGlobal(QPoint(at(0.5), 0)).x(), 2);
    // The window past the screen's right edge: the right end of the bar lies near it.
    const int barRight = bar()->mapTo(player.get(), QPoint(at(1.0), 0)).x();
    player->move(screen.right() - barRight - 20, 0);
    testsupport::pump(50);
    const QRect right = check(at(1.0), "right end");
    EXPECT_EQ(right.right(), screen.right());
}

TEST_F(SeekPreviewTest, HiddenOnLeaveDragMiniModeAndWithTheOptionOff)
{
    open("a.avi");
    const auto shownAgain = [&] {
        hover(at(0.4));
        return window()->isVisible();
    };
    // A pointer that lands on the bar without moving over it (warped there) shows it too.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar(), &leave);
    ASSERT_FALSE(window()->isVisible());
    const QPointF onBar(at(0.7), bar()->height() / 2);
    QEnterEvent enter(onBar, onBar, bar()->mapToGlobal(onBar));
    QCoreApplication::sendEvent(bar(), &enter);
    EXPECT_TRUE(window()->isVisible()) << "entered the bar";
    EXPECT_EQ(preview().previewTime()->text(), timeText(preview().pointerSecond().value_or(-1)));

    ASSERT_TRUE(shownAgain());
    QCoreApplication::sendEvent(bar(), &leave);
    EXPECT_FALSE(window()->isVisible()) << "the pointer left the bar";

    ASSERT_TRUE(shownAgain());
    send(bar(), QEvent::MouseButtonPress, at(0.4), Qt::LeftButton);
    EXPECT_FALSE(window()->isVisible()) << "a press starts a drag";
    send(bar(), QEvent::MouseMove, at(0.5), Qt::LeftButton);
    EXPECT_FALSE(window()->isVisible()) << "moves with the button held";
    send(bar(), QEvent::MouseButtonRelease, at(0.5), Qt::NoButton);
    EXPECT_FALSE(window()->isVisible());

    ASSERT_TRUE(shownAgain());
    player->options()->Check_SeekPreview()->setChecked(false);
    EXPECT_FALSE(shownAgain()) << "the option off";
    player->options()->Check_SeekPreview()->setChecked(true);

    ASSERT_TRUE(shownAgain());
    player->windowModes()->enterSmallMode();
    EXPECT_FALSE(window()->isVisible()) << "mini mode";
    EXPECT_FALSE(shownAgain());
    player->windowModes()->leaveSmallMode();
    EXPECT_TRUE(shownAgain());

    player->stop_Click();
    EXPECT_FALSE(window()->isVisible()) << "the file closed";
    EXPECT_FALSE(shownAgain());
}

TEST_F(SeekPreviewTest, TheOptionIsKeptInConfigIni)
{
    player->options()->Check_SeekPreview()->setChecked(false);
    restart();
    EXPECT_FALSE(player->options()->Check_SeekPreview()->isChecked());
    EXPECT_TRUE(testsupport::readFile(app("config.ini")).contains("SeekPreview=0\r\n"));
    player->options()->Check_SeekPreview()->setChecked(true);
    restart();
    EXPECT_TRUE(player->options()->Check_SeekPreview()->isChecked());
    EXPECT_TRUE(testsupport::readFile(app("config.ini")).contains("SeekTop=0\r\nSeekPreview=1\r\n"));
}

TEST_F(SeekPreviewTest, FilesWithoutAPictureShowTheTimeAlone)
{
    // Audio only, a file the decoder refuses: asked once, then the time alone.
    for (const char *name : {"audio.avi", "refused.avi"}) {
        open(name);
        const int calls = frames->callCount();
        const int s = hover(at(0.5));
        ASSERT_TRUE(testsupport::waitFor([&] { return frames->callCount() == calls + 1; })) << name;
        testsupport::pump(50);
        EXPECT_TRUE(window()->isVisible()) << name;
        EXPECT_FALSE(preview().previewPicture()->isVisible()) << name;
        EXPECT_EQ(preview().previewTime()->text(), timeText(s)) << name;
        hover(at(0.2));
        hover(at(0.8));
        testsupport::pump(50);
        EXPECT_EQ(frames->callCount(), calls + 1) << name << ": not asked again";
        EXPECT_EQ(preview().previewTime()->text(), timeText(preview().pointerSecond().value_or(-1)));
    }
    // A RealMedia playlist has no frame of its own: the decoder is not asked at all.
    const int calls = frames->callCount();
    open("list.ram");
    hover(at(0.5));
    testsupport::pump(50);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_FALSE(preview().previewPicture()->isVisible());
    EXPECT_EQ(frames->callCount(), calls);
}

TEST_F(SeekPreviewTest, ANewFileCancelsTheOldOnesWork)
{
    open("a.avi");
    frames->setGate(false);
    hover(at(0.3));
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->runningNow() == 1; }));
    open("b.avi", 300.0);
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->cancelledCount() == 1; })) << "the grab under way stopped";
    EXPECT_FALSE(window()->isVisible());
    frames->setGate(true);
    const int s = hover(at(0.5));
    EXPECT_NEAR(s, 150, 2);
    ASSERT_TRUE(waitShown(s));
    EXPECT_EQ(frames->lastFile(), work("b.avi"));
    EXPECT_EQ(preview().cache().files(), QStringList{work("b.avi")}) << "nothing of a.avi was made";
}

TEST_F(SeekPreviewTest, OverTheFullScreenBarWithoutMargins)
{
    open("a.avi");
    player->windowModes()->enterFullScreen();
    player->windowModes()->showFullScreenControls();
    testsupport::pump(50);
    QProgressBar *full = player->controls()->SeekBarForFullscreen();
    ASSERT_TRUE(full->isVisible());
    const int x = full->width() / 2;
    const int s = hover(x, full);
    EXPECT_EQ(s, preview::fullScreenSecond(twips::fromPixelsX(x), twips::width(full), 600, false));
    EXPECT_NEAR(s, 300, 3);
    ASSERT_TRUE(waitShown(s));
    const QRect r = window()->frameGeometry();
    EXPECT_TRUE(full->screen()->geometry().contains(r));
    if (full->mapToGlobal(QPoint(0, 0)).y() < r.height()) {
        EXPECT_GE(r.top(), full->mapToGlobal(QPoint(0, full->height())).y()) << "below the strip at the top";
    }
    player->windowModes()->leaveFullScreen();
    EXPECT_FALSE(window()->isVisible());
}

TEST_F(SeekPreviewTest, ShutdownWaitsAtMostASecondForAGrabThatDoesNotStop)
{
    open("a.avi");
    frames->ignoreCancel = true;
    frames->setGate(false);
    hover(at(0.3));
    ASSERT_TRUE(testsupport::waitFor([&] { return frames->runningNow() == 1; }));
    QElapsedTimer t;
    t.start();
    preview().shutdown();
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_FALSE(window()->isVisible());
    hover(at(0.5));
    EXPECT_FALSE(window()->isVisible()) << "nothing shows after shutdown";
    frames->setGate(true); // the grab ends on its own and reports nothing
    testsupport::pump(100);
    EXPECT_EQ(preview().shownSecond(), std::nullopt);
}
