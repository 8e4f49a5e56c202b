#pragma once
// Selection rules of the lists that take several rows, as plain arithmetic on 0-based rows.

#include <QList>

// A press on row k and a release on row p toggle the rows from p towards k, k left out: from
// p down to k + 1 when p > k, from p up to k - 1 when p < k (press 2, release 5: 5, 4, 3).
// Nothing when p = k, when p lies outside the `count` rows, or when there is no row k.
QList<int> dragToggleRows(int p, int k, int count);
