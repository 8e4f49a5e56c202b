#include "input/key_table.h"

namespace keys {

namespace {

// The narrowest video areas (twips) Page Down still shrinks, in the window and in mini mode.
constexpr int kShrinkLimit = 3500;
constexpr int kShrinkLimitMini = 2000;

} // namespace

KeyUpMatch keyUpRow(int code, int shift, int lastKeyShift, const KeySet &keys, const KeyUpContext &c)
{
    using R = KeyUpRow;
    if (lastKeyShift == 4)
        return {code == kEnter ? R::ToggleFullScreen : R::None};
    const auto is = [&](Binding b) { return code != 0 && code == bindingCode(keys[std::size_t(b)]); };
    const bool ctrl = shift == 2;
    const bool keypadDigit = code >= kPad0 && code <= kPad9;

    if (is(Haya) || is(Maki))
        return {R::EndSeek};
    if (code == 'I' && ctrl)
        return {R::ShowFavourites};
    if (is(Add) || (code == 'D' && ctrl))
        return {R::AddFavourites};
    if (code == 'M' && ctrl)
        return {R::SmallMode};
    if (code == 'W' && ctrl)
        return {R::Exit};
    if (code == 'T' && ctrl)
        return {R::Topmost};
    if (is(Play) || code == kEnter)
        return {R::PlayPause};
    if (is(Pre))
        return {R::Previous};
    if (is(Next))
        return {R::Next};
    if (is(Stop))
        return {R::Stop};
    if (code == kEscape)
        return {R::LeaveFullScreen};
    if (is(Tou))
        return {R::NormalSpeed};
    if (is(Bai))
        return {R::DoubleSpeed};
    if (is(Han))
        return {R::HalfSpeed};
    if (code == kPageUp && c.normalWindowState)
        return {R::Enlarge};
    if (code == kPageDown && c.normalWindowState
        && c.displayWidth > (c.miniMode ? kShrinkLimitMini : kShrinkLimit))
        return {R::Shrink};
    if (code == kF1)
        return {R::Help};
    if (code == kF2)
        return {R::Rename};
    if (code == kF4)
        return {R::ChooseFolder};
    if (code == kF5)
        return {R::Refresh};
    if (code == kF6)
        return {R::SeekTop};
    if (code == kF8 && !c.fullScreen)
        return {R::OptimizeWindow};
    if (code == kHome && !c.fullScreen)
        return {R::ActualSize};
    if (code == kDelete)
        return {R::DeleteFavourites};
    if (keypadDigit && ctrl)
        return {R::RegisterScene, code - kPad0};
    if (keypadDigit)
        return {R::JumpScene, code - kPad0};
    if (is(Cap))
        return {R::Capture};
    return {};
}

int keySeekDirection(int code, const KeySet &keys)
{
    if (code == 0)
        return 0;
    if (code == bindingCode(keys[Haya]))
        return 1;
    if (code == bindingCode(keys[Maki]))
        return -1;
    return 0;
}

} // namespace keys
