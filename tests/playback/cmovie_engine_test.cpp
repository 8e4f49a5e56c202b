// CMovie and the RealMedia control on the real libmpv engine, with generated clips.
#include "playback/cmovie.h"
#include "playback/real_control.h"

#include "support/player_fixture.h"
#include "support/test_support.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

using testsupport::clip;
using testsupport::waitFor;

namespace {

struct Engine : ::testing::Test
{
    QWidget screen;
    CMovie movie{makeMpvBackend};
    void SetUp() override
    {
        screen.resize(320, 240);
        screen.show();
    }
    double position() { return movie.mobjPosition ? movie.mobjPosition->currentPosition().value_or(-1) : -1; }
};

} // namespace

TEST_F(Engine, OpenReturnsTheDurationCodeOfEveryContainer)
{
    for (const char *name : {"clip.avi", "clip.mpg", "clip.mpeg", "clip.asf", "clip.wmv", "clip.mov",
                             "clip.dat", "clip.rmvb", "audio.mpg"}) {
        const int result = movie.MediaOpen(clip(name), QString(), &screen, 0);
        ASSERT_GT(result, 0) << name;
        const auto d = movie.mobjPosition->duration();
        ASSERT_TRUE(d.has_value()) << name;
        EXPECT_EQ(result, static_cast<int>(std::floor(*d * 100))) << name;
        EXPECT_NEAR(*d, 5.0, 0.2) << name;
        EXPECT_EQ(movie.fileName, clip(name));
        EXPECT_EQ(movie.PlayState, 1);
    }
    // AVI and QuickTime report the exact 5 s of the clip.
    EXPECT_EQ(movie.MediaOpen(clip("clip.avi"), QString(), &screen, 0), 500);
    EXPECT_EQ(movie.MediaOpen(clip("clip.mov"), QString(), &screen, 0), 500);
}

TEST_F(Engine, LongFileGivesMinusOneAndItsDurationIsReadable)
{
    EXPECT_EQ(movie.MediaOpen(clip("long.avi"), QString(), &screen, 0), -1);
    ASSERT_TRUE(movie.mobjPosition->duration().has_value());
    EXPECT_NEAR(*movie.mobjPosition->duration(), 330.0, 0.1);
}

TEST_F(Engine, UnrenderableFileFailsAndLeavesTheEngineClosed)
{
    EXPECT_EQ(movie.MediaOpen(clip("broken.avi"), QString(), &screen, 0), 0);
    EXPECT_TRUE(movie.fileName.isEmpty());
    EXPECT_EQ(movie.mobjManager, nullptr);
    EXPECT_EQ(movie.MediaOpen(clip("no-such-file.avi"), QString(), &screen, 0), 0);
    // A good file still opens afterwards.
    EXPECT_EQ(movie.MediaOpen(clip("clip.avi"), QString(), &screen, 0), 500);
}

TEST_F(Engine, ReadsFailWhileNothingIsOpen)
{
    EXPECT_EQ(movie.mobjPosition, nullptr);
    MediaBackend *b = movie.backend();
    EXPECT_FALSE(b->position().has_value());
    EXPECT_FALSE(b->duration().has_value());
    movie.MediaOpen(clip("clip.avi"), QString(), &screen, 0);
    movie.MediaClose();
    EXPECT_FALSE(b->position().has_value());
    EXPECT_FALSE(b->duration().has_value());
    movie.MediaPlay(1); // nothing open: nothing happens
    EXPECT_EQ(movie.mobjManager, nullptr);
}

TEST_F(Engine, StopRewindsAndPlayStartsFromTheBeginning)
{
    ASSERT_EQ(movie.MediaOpen(clip("clip.avi"), QString(), &screen, 0), 500);
    ASSERT_TRUE(waitFor([&] { return position() > 1.0; }, 5000));
    movie.MediaPlay(3);
    EXPECT_EQ(movie.PlayState, 3);
    EXPECT_NE(movie.mobjManager, nullptr) << "a stopped graph stays open";
    ASSERT_TRUE(waitFor([&] { return position() == 0.0; }, 3000));
    testsupport::pump(300);
    EXPECT_LT(position(), 0.05) << "stopped means it stays at the start";
    movie.MediaPlay(1);
    ASSERT_TRUE(waitFor([&] { return position() > 0.3; }, 3000));
    EXPECT_LT(position(), 1.5);
}

TEST_F(Engine, FinishedFileStaysOpenAtItsEnd)
{
    ASSERT_GT(movie.MediaOpen(clip("short3.avi"), QString(), &screen, 0), 0);
    const double d = *movie.mobjPosition->duration();
    ASSERT_TRUE(waitFor([&] { return position() >= d; }, 8000));
    EXPECT_DOUBLE_EQ(position(), d);
    EXPECT_EQ(movie.fileName, clip("short3.avi"));
}

TEST_F(Engine, OpenSeeksToTheStartPosition)
{
    ASSERT_GT(movie.MediaOpen(clip("clip.mpg"), QString(), &screen, 2.0), 0);
    movie.MediaPlay(2);
    ASSERT_TRUE(waitFor([&] { return position() >= 0; }, 3000));
    testsupport::pump(300);
    EXPECT_NEAR(position(), 2.0, 0.25) << "MPEG program streams must not overshoot the seek";
}

TEST_F(Engine, AudioOnlyFilePlaysWithoutAVideoWindow)
{
    ASSERT_GT(movie.MediaOpen(clip("audio.mpg"), QString(), &screen, 0), 0);
    EXPECT_EQ(movie.mobjWindow->window(), nullptr);
    EXPECT_FALSE(movie.mobjVideo->sourceSize().has_value());
    ASSERT_TRUE(waitFor([&] { return position() > 0.5; }, 5000));
}

TEST_F(Engine, RateIsCappedAtTwo)
{
    ASSERT_GT(movie.MediaOpen(clip("clip.avi"), QString(), &screen, 0), 0);
    movie.SetRate(3.0f);
    EXPECT_EQ(movie.mobjPosition->rate(), 2.0);
    movie.SetRate(0.5f);
    EXPECT_EQ(movie.mobjPosition->rate(), 0.5);
}

TEST_F(Engine, VideoWindowShowsTheFramesOfTheFile)
{
    ASSERT_GT(movie.MediaOpen(clip("pattern.avi"), QString(), &screen, 0), 0);
    QWidget *w = movie.mobjWindow->window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), &screen);
    movie.SetWindowSize(320, 240);
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage img = testsupport::shownPicture(&screen);
            const QColor left = img.pixelColor(60, 120), right = img.pixelColor(260, 120);
            return left.red() > 200 && left.green() < 60 && left.blue() > 200 && right.green() > 200
                   && right.red() < 60 && right.blue() < 60;
        },
        5000));
}

TEST(RealControlEngine, PlaysANewSourceByItselfInMilliseconds)
{
    QWidget parent;
    parent.resize(320, 240);
    parent.show();
    RealControl rm(makeMpvBackend, &parent);
    rm.resize(320, 240);
    rm.show();
    std::vector<int> states;
    QObject::connect(&rm, &RealControl::stateChange, [&](int s) { states.push_back(s); });
    rm.setProperty(RealControl::Source, clip("clip.rm"));
    EXPECT_EQ(rm.invoke(RealControl::Source).toString(), clip("clip.rm"));
    ASSERT_TRUE(waitFor([&] { return rm.invoke(RealControl::Position).toInt() > 500; }, 5000));
    EXPECT_EQ(rm.invoke(RealControl::PlayStateId).toInt(), 3);
    EXPECT_NEAR(rm.invoke(RealControl::Length).toInt(), 5015, 60);
    EXPECT_EQ(rm.invoke(RealControl::ClipWidth).toInt(), 176);
    EXPECT_EQ(rm.invoke(RealControl::ClipHeight).toInt(), 144);
    EXPECT_NE(std::find(states.begin(), states.end(), 3), states.end());

    rm.invoke(RealControl::Pause);
    EXPECT_EQ(rm.invoke(RealControl::PlayStateId).toInt(), 2);
    rm.invoke(RealControl::Seek, 1000);
    ASSERT_TRUE(waitFor([&] { return std::abs(rm.invoke(RealControl::Position).toInt() - 1000) < 100; }, 3000));
    rm.invoke(RealControl::Stop);
    EXPECT_EQ(rm.invoke(RealControl::PlayStateId).toInt(), 0);
    rm.setProperty(RealControl::Source, QString());
    EXPECT_EQ(rm.invoke(RealControl::Length).toInt(), 0);
    EXPECT_EQ(rm.invoke(RealControl::Position).toInt(), 0);
}

TEST(RealControlEngine, RamFilePlaysItsFirstPlayableEntry)
{
    QTemporaryDir dir;
    const QString ram = testsupport::writeFile(
        dir.filePath("list.ram"),
        ("# a RealMedia list\r\n\r\n" + dir.filePath("missing.rm") + "\r\n" + clip("clip.ra") + "\r\n").toUtf8());
    EXPECT_EQ(RealControl::resolveSource(ram), clip("clip.ra"));
    QWidget parent;
    RealControl rm(makeMpvBackend, &parent);
    rm.setProperty(RealControl::Source, ram);
    ASSERT_TRUE(waitFor([&] { return rm.invoke(RealControl::Position).toInt() > 300; }, 5000));
    EXPECT_EQ(rm.invoke(RealControl::ClipWidth).toInt(), 0) << "audio only";
}
