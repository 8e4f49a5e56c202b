// Which row of the key commands a released key runs.
#include "input/key_table.h"

#include "window/video_fit.h"

#include <gtest/gtest.h>

using namespace keys;
using R = KeyUpRow;

namespace {

KeyUpRow row(int code, int shift = 0, const KeySet &keys = defaultKeys(), KeyUpContext c = {false, true, false, 6000},
             int lastKeyShift = 0)
{
    return keyUpRow(code, shift, lastKeyShift, keys, c).row;
}

} // namespace

TEST(KeyTable, TheDefaultKeysAndTheFixedOnes)
{
    EXPECT_EQ(row('X'), R::EndSeek);
    EXPECT_EQ(row('Z'), R::EndSeek);
    EXPECT_EQ(row('Q'), R::PlayPause);
    EXPECT_EQ(row(13), R::PlayPause);
    EXPECT_EQ(row('W'), R::Stop);
    EXPECT_EQ(row('W', 2), R::Exit) << "Ctrl+W before the stop key";
    EXPECT_EQ(row('S'), R::Next);
    EXPECT_EQ(row('A'), R::Previous);
    EXPECT_EQ(row('1'), R::NormalSpeed);
    EXPECT_EQ(row('2'), R::DoubleSpeed);
    EXPECT_EQ(row('3'), R::HalfSpeed);
    EXPECT_EQ(row('D'), R::AddFavourites);
    EXPECT_EQ(row('C'), R::Capture);
    EXPECT_EQ(row('I', 2), R::ShowFavourites);
    EXPECT_EQ(row('M', 2), R::SmallMode);
    EXPECT_EQ(row('T', 2), R::Topmost);
    EXPECT_EQ(row(27), R::LeaveFullScreen);
    EXPECT_EQ(row(112), R::Help);
    EXPECT_EQ(row(113), R::Rename);
    EXPECT_EQ(row(115), R::ChooseFolder);
    EXPECT_EQ(row(116), R::Refresh);
    EXPECT_EQ(row(117), R::SeekTop);
    EXPECT_EQ(row(119), R::OptimizeWindow);
    EXPECT_EQ(row(36), R::ActualSize);
    EXPECT_EQ(row(46), R::DeleteFavourites);
    EXPECT_EQ(row(33), R::Enlarge);
    EXPECT_EQ(row(34), R::Shrink);
    EXPECT_EQ(row('I'), R::None);
    EXPECT_EQ(row(114), R::None) << "F3";
    EXPECT_EQ(row(0), R::None);
}

TEST(KeyTable, CtrlIsExactlyCtrl)
{
    // Ctrl+Shift is not Ctrl: no favourites page, no mini mode; Ctrl+Shift+W is the stop key.
    EXPECT_EQ(row('I', 3), R::None);
    EXPECT_EQ(row('M', 3), R::None);
    EXPECT_EQ(row('W', 3), R::Stop);
    EXPECT_EQ(row('D', 3), R::AddFavourites) << "the binding, whatever the modifiers";
    // Keypad 3: Ctrl registers the scene, anything else jumps to it.
    EXPECT_EQ(keyUpRow(99, 2, 2, defaultKeys(), {}), (KeyUpMatch{R::RegisterScene, 3}));
    EXPECT_EQ(keyUpRow(99, 0, 0, defaultKeys(), {}), (KeyUpMatch{R::JumpScene, 3}));
    EXPECT_EQ(keyUpRow(99, 3, 3, defaultKeys(), {}), (KeyUpMatch{R::JumpScene, 3}));
    EXPECT_EQ(keyUpRow(96, 2, 2, defaultKeys(), {}), (KeyUpMatch{R::RegisterScene, 0}));
}

TEST(KeyTable, AltAloneLeavesOnlyEnter)
{
    EXPECT_EQ(row(13, 4, defaultKeys(), {}, 4), R::ToggleFullScreen);
    EXPECT_EQ(row(13, 0, defaultKeys(), {}, 4), R::ToggleFullScreen) << "Alt released first";
    EXPECT_EQ(row('Q', 4, defaultKeys(), {}, 4), R::None);
    EXPECT_EQ(row(27, 4, defaultKeys(), {}, 4), R::None);
    EXPECT_EQ(row(13, 5, defaultKeys(), {}, 5), R::PlayPause) << "Shift+Alt is not Alt alone";
}

TEST(KeyTable, BindingsComeFirstExceptTheCaptureKey)
{
    // F1 bound to play ("p") plays and opens no help.
    KeySet keys = defaultKeys();
    keys[Play] = QStringLiteral("p");
    EXPECT_EQ(row(112, 0, keys), R::PlayPause);
    EXPECT_EQ(row('Q', 0, keys), R::None);
    // The next key and the capture key the same: only the next file.
    keys = defaultKeys();
    keys[Cap] = keys[Next];
    EXPECT_EQ(row('S', 0, keys), R::Next);
    // The capture key on Delete (".") loses it to the delete row.
    keys[Cap] = QStringLiteral(".");
    EXPECT_EQ(row(46, 0, keys), R::DeleteFavourites);
    // Bound to Page Down ("\""), the stop key stops there.
    keys = defaultKeys();
    keys[Stop] = QStringLiteral("\"");
    EXPECT_EQ(row(34, 0, keys), R::Stop);
    EXPECT_EQ(row('W', 0, keys), R::None);
}

TEST(KeyTable, ConditionsOfTheSizeRows)
{
    // Page Up and Page Down only in the normal window state.
    EXPECT_EQ(row(33, 0, defaultKeys(), {false, false, false, 6000}), R::None);
    EXPECT_EQ(row(34, 0, defaultKeys(), {false, false, false, 6000}), R::None);
    // Page Down down to 3500 twips of video, 2000 in mini mode.
    EXPECT_EQ(row(34, 0, defaultKeys(), {false, true, false, 3501}), R::Shrink);
    EXPECT_EQ(row(34, 0, defaultKeys(), {false, true, false, 3500}), R::None);
    EXPECT_EQ(row(34, 0, defaultKeys(), {false, true, true, 2001}), R::Shrink);
    EXPECT_EQ(row(34, 0, defaultKeys(), {false, true, true, 2000}), R::None);
    // F8 and Home not in full screen.
    EXPECT_EQ(row(119, 0, defaultKeys(), {true, true, false, 6000}), R::None);
    EXPECT_EQ(row(36, 0, defaultKeys(), {true, true, false, 6000}), R::None);
}

TEST(KeyTable, HeldSeekKeys)
{
    EXPECT_EQ(keySeekDirection('X', defaultKeys()), 1);
    EXPECT_EQ(keySeekDirection('Z', defaultKeys()), -1);
    EXPECT_EQ(keySeekDirection('Q', defaultKeys()), 0);
    EXPECT_EQ(keySeekDirection(0, KeySet{}), 0) << "an empty binding is no key";
}

TEST(VideoSteps, PageUpAndPageDownByAHundredPixels)
{
    // A 320-pixel picture in a video area of 6000 twips (400 px at 15 twips a pixel).
    EXPECT_DOUBLE_EQ(*videofit::steppedScale(6000, 15, 320, true), 400.0 / 320 + 100.0 / 320);
    EXPECT_DOUBLE_EQ(*videofit::steppedScale(6000, 15, 320, false), 400.0 / 320 - 100.0 / 320);
    // A picture without a width (none known, or a clip of audio): nothing.
    EXPECT_FALSE(videofit::steppedScale(6000, 15, 0, true).has_value());
    EXPECT_FALSE(videofit::steppedScale(6000, 15, -1, false).has_value());
    EXPECT_FALSE(videofit::steppedScale(6000, 0, 320, false).has_value());
}
