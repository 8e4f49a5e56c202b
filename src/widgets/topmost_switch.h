#pragma once
// Always on top, set aside while the user types a new name (a tab's or a file's rename):
// an input box behind a window that stays on top could not be seen.

class TopmostSwitch
{
public:
    virtual ~TopmostSwitch() = default;
    virtual void beginRename() = 0;
    virtual void endRename() = 0;
};
