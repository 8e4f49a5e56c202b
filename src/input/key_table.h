#pragma once
// What a released key does: the rows of the key commands in their order, the first row that
// matches being the whole reaction. The bindings come first, so a binding equal to a fixed
// key (F1 bound to play is "p") takes it from its fixed command, except key_cap, tested last.

#include "input/key_codes.h"

namespace keys {

enum class KeyUpRow {
    None,
    EndSeek,          // the release of key_haya or key_maki
    ShowFavourites,   // Ctrl+I
    AddFavourites,    // key_add, Ctrl+D
    SmallMode,        // Ctrl+M
    Exit,             // Ctrl+W
    Topmost,          // Ctrl+T
    PlayPause,        // key_play, Enter
    Previous,         // key_pre
    Next,             // key_next
    Stop,             // key_stop
    LeaveFullScreen,  // Esc
    NormalSpeed,      // key_tou
    DoubleSpeed,      // key_bai
    HalfSpeed,        // key_han
    Enlarge,          // Page Up
    Shrink,           // Page Down
    Help,             // F1
    Rename,           // F2
    ChooseFolder,     // F4
    Refresh,          // F5
    SeekTop,          // F6
    OptimizeWindow,   // F8
    ActualSize,       // Home
    DeleteFavourites, // Delete
    RegisterScene,    // Ctrl with keypad 0..9
    JumpScene,        // keypad 0..9
    Capture,          // key_cap
    ToggleFullScreen, // Enter after a press with Alt alone held
};

// What the rows' conditions read of the window.
struct KeyUpContext
{
    bool fullScreen = false;
    // The window is neither minimised nor maximised.
    bool normalWindowState = true;
    bool miniMode = false;
    // The video area's width in twips.
    int displayWidth = 0;
};

struct KeyUpMatch
{
    KeyUpRow row = KeyUpRow::None;
    int scene = -1; // the slot of a scene row
    bool operator==(const KeyUpMatch &o) const = default;
};

// The row a released key runs: `code` the virtual-key code, `shift` the modifier state of
// the release (1 Shift, 2 Ctrl, 4 Alt; "Ctrl" is exactly 2), `lastKeyShift` that of the last
// press (4, Alt alone, leaves only Enter, which toggles full screen).
KeyUpMatch keyUpRow(int code, int shift, int lastKeyShift, const KeySet &keys, const KeyUpContext &context);

// Whether a pressed key starts a held seek forward (+1), back (-1), or neither (0).
int keySeekDirection(int code, const KeySet &keys);

} // namespace keys
