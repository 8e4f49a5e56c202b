#include "lists/list_selection.h"

QList<int> dragToggleRows(int p, int k, int count)
{
    QList<int> rows;
    if (p < 0 || p >= count || k < 0 || k >= count || p == k)
        return rows;
    const int step = p > k ? -1 : 1;
    for (int r = p; r != k; r += step)
        rows.append(r);
    return rows;
}
