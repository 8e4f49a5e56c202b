// The command registry without a window: one action per id, the command it runs, and the
// rules of its enabled and checked states.
#include "input/command_registry.h"
#include "playback/playback_state.h"
#include "widgets/command_ids.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

TEST(CommandRegistry, TriggerRunsTheRegisteredCommandOnly)
{
    CommandRegistry c;
    int plays = 0, stops = 0;
    c.add(command::play, "play", [&] { ++plays; });
    c.add(command::stop, "stop", [&] { ++stops; });
    EXPECT_TRUE(c.trigger("play"));
    EXPECT_TRUE(c.trigger(command::play));
    EXPECT_EQ(plays, 2);
    EXPECT_EQ(stops, 0);
    EXPECT_FALSE(c.trigger("capture")) << "an id without a command does nothing";
    EXPECT_FALSE(c.trigger(QString()));
    QAction *before = c.action(command::play);
    c.add(command::play, "play", [&] { plays += 10; });
    c.trigger(command::play);
    EXPECT_EQ(plays, 12) << "a command registered again replaces the old one";
    EXPECT_EQ(c.action(command::play), before) << "and keeps its action";
    EXPECT_EQ(c.ids(), (QStringList{"play", "stop"}));
}

TEST(CommandRegistry, AnActionShownBeforeItsCommandIsTheSameActionAfterwards)
{
    CommandRegistry c;
    QAction *early = c.action(command::capture); // a toolbar made first
    EXPECT_FALSE(c.contains(command::capture));
    EXPECT_FALSE(c.trigger(command::capture));
    int runs = 0;
    EXPECT_EQ(c.add(command::capture, "キャプチャー", [&] { ++runs; }), early);
    early->trigger(); // the toolbar's button
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(early->text(), "キャプチャー");
    EXPECT_EQ(early->objectName(), "capture");
}

TEST(CommandRegistry, ADisabledCommandRunsFromNoRoute)
{
    CommandRegistry c;
    bool allowed = false;
    int runs = 0;
    QAction *a = c.add(command::capture, "capture", [&] { ++runs; });
    c.setEnabledRule(command::capture, [&] { return allowed; });
    EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(c.trigger(command::capture)) << "a key or D-Bus asks by id";
    a->trigger(); // a menu item or a toolbar button
    EXPECT_EQ(runs, 0);
    allowed = true;
    EXPECT_TRUE(c.trigger(command::capture)) << "the rule is read when the command is asked for";
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(a->isEnabled()) << "and every rule again after a command";
    allowed = false;
    QMenu menu;
    menu.addAction(a);
    c.watch(&menu);
    Q_EMIT menu.aboutToShow();
    EXPECT_FALSE(a->isEnabled()) << "a menu about to open shows the rules of now";
}

TEST(CommandRegistry, CheckMarksFollowTheStateNotTheClick)
{
    CommandRegistry c;
    PlaybackState state;
    QStringList ids;
    for (int i = 0; i < 4; ++i) {
        c.add(command::mode(i), QString::number(i), [&state, i] { state.setPlayMode(*playModeFromIndex(i)); });
        c.setCheckedRule(command::mode(i), [&state, i] { return playModeIndex(state.playMode()) == i; });
        ids.append(command::mode(i));
    }
    c.makeExclusive(ids);
    QObject::connect(&state, &PlaybackState::playModeChanged, &c, [&c] { c.refresh(); });
    auto checked = [&] {
        QList<int> out;
        for (int i = 0; i < 4; ++i)
            if (c.action(command::mode(i))->isChecked())
                out.append(i);
        return out;
    };
    EXPECT_EQ(checked(), (QList<int>{0}));
    c.action(command::mode(2))->trigger(); // the menu
    EXPECT_EQ(state.playMode(), PlayMode::Loop);
    EXPECT_EQ(checked(), (QList<int>{2}));
    c.action(command::mode(2))->trigger(); // the checked item again: it stays checked
    EXPECT_EQ(checked(), (QList<int>{2}));
    state.setPlayMode(PlayMode::Random); // from elsewhere (config.ini, the desktop)
    EXPECT_EQ(checked(), (QList<int>{3}));
    c.trigger(command::mode(1)); // a key
    EXPECT_EQ(checked(), (QList<int>{1}));
}

TEST(CommandRegistry, ACommandThatChangesNothingPutsItsCheckMarkBack)
{
    CommandRegistry c;
    bool on = false;
    QAction *a = c.add(command::topmost, "top", [] {});
    c.setCheckedRule(command::topmost, [&] { return on; });
    EXPECT_TRUE(a->isCheckable());
    a->trigger(); // Qt flips the mark before the command runs
    EXPECT_FALSE(a->isChecked());
    on = true;
    c.refresh();
    EXPECT_TRUE(a->isChecked());
}
