#include "dialogs/colour_value.h"

#include <algorithm>

namespace colour {

int value(int r, int g, int b)
{
    const auto part = [](int v) { return std::clamp(v, 0, 255); };
    return part(r) | part(g) << 8 | part(b) << 16;
}

int red(int v) { return v & 0xFF; }
int green(int v) { return (v >> 8) & 0xFF; }
int blue(int v) { return (v >> 16) & 0xFF; }
int normalized(int v) { return v & 0xFFFFFF; }

} // namespace colour
