#include "playback/random_picker.h"

#include <algorithm>
#include <cmath>

RandomPicker::RandomPicker(Draw draw) : m_draw(std::move(draw)) {}

int RandomPicker::draw(int n)
{
    const int r = static_cast<int>(std::floor(m_draw() * n));
    return std::clamp(r, 0, n - 1);
}

int RandomPicker::pickRandom(int n)
{
    if (n < 1)
        return -1;
    if (n == 1)
        return 0;
    const int held = static_cast<int>(m_history.size());
    if (held < n && held < kHistory) {
        int r = 0;
        for (int i = 0; i < 100; ++i) {
            r = draw(n);
            if (std::find(m_history.begin(), m_history.end(), r) == m_history.end()) {
                m_history.push_back(r);
                return r;
            }
        }
        return r;
    }
    // Every row has played, as far as the history knows (or the history is full): start again.
    m_history.clear();
    const int r = draw(n);
    m_history.push_back(r);
    return r;
}
