#pragma once
// The random play order: picks rows at random without repeating one until every row has
// played. The history of picked rows is shared by all lists and kept across list changes.

#include <functional>
#include <vector>

class RandomPicker
{
public:
    // The history holds at most this many rows.
    static constexpr int kHistory = 513;
    // A draw source giving values in [0, 1).
    using Draw = std::function<double()>;

    explicit RandomPicker(Draw draw);

    // A 0-based row of n rows, or -1 when n < 1. One row is always row 0 (unrecorded).
    // While rows remain unplayed, up to 100 draws look for one; when all 100 hit played
    // rows the last draw is returned unrecorded. When every row has played, or the history
    // is full, the history starts again.
    int pickRandom(int n);

    const std::vector<int> &history() const { return m_history; }

private:
    int draw(int n);

    Draw m_draw;
    std::vector<int> m_history;
};
