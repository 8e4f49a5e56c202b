#pragma once
// Colours as the program stores them: one 32-bit value 0x00BBGGRR, red in the low byte
// (r + g·256 + b·65536). color.ini holds these values, and the colour dialog is asked and
// answers in them. A value whose high byte is set (a hand-edited file) counts by its low
// 24 bits.

namespace colour {

// The value of a colour; each part is cut to 0..255.
int value(int red, int green, int blue);
int red(int value);
int green(int value);
int blue(int value);
// The value with its high byte cleared: the colour it stands for.
int normalized(int value);

} // namespace colour
