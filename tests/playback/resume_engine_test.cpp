// Resume on the real libmpv engine: an exit while a clip plays, and the next start.
#include "support/player_fixture.h"

#include "app/options_page.h"
#include "platform/text_file.h"
#include "playback/cmovie.h"
#include "playback/resume_file.h"
#include "window/video_area.h"

#include <QCheckBox>
#include <QFile>

using testsupport::clip;
using testsupport::waitFor;

class ResumeEngine : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        realEngine = true;
        start();
        player->options()->check_resume()->setChecked(true);
    }
    double position() const
    {
        const CMovie &m = *player->video()->movie();
        return m.mobjPosition ? m.mobjPosition->currentPosition().value_or(-1) : -1;
    }
};

TEST_F(ResumeEngine, ExitWhilePlayingAtTwoSecondsPlaysOnNearTwoSeconds)
{
    const QString file = clip("clip.avi");
    player->openMedia(file, 0);
    ASSERT_TRUE(waitFor([&] { return position() >= 2.0; }, 8000));
    close();

    const auto lines = platform::readTextLines(app("resume.ini"));
    ASSERT_TRUE(lines.has_value());
    const auto record = parseResumeFile(*lines);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->path, file);
    EXPECT_EQ(record->state, 1);
    EXPECT_GE(record->position, 2.0);
    EXPECT_LT(record->position, 2.6);

    start();
    EXPECT_EQ(player->video()->movie()->fileName, file);
    EXPECT_EQ(player->video()->movie()->PlayState, 1);
    const double at = position();
    EXPECT_GE(at, record->position - 0.1);
    EXPECT_LT(at, record->position + 0.6);
    // And it plays on from there.
    EXPECT_TRUE(waitFor([&] { return position() > at + 0.3; }, 5000));
}
