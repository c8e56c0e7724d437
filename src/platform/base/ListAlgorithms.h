// The class library's search and sort over indexed lists, shared by every string list
// so that equal items end up, and are found, where its callers expect.
#pragma once

#include <cstdint>

// Binary search over 0..count-1, where compareAt(i) compares item i with the key (<0,
// 0, >0). True when found; index is the match or where the key would be inserted. With
// firstOfEqual the search goes on to the first of several equal items; otherwise it
// stops at the first match met.
template <typename CompareAt>
bool SortedFind(int32_t count, bool firstOfEqual, CompareAt compareAt, int32_t& index) {
  bool found = false;
  int32_t low = 0;
  int32_t high = count - 1;
  while (low <= high) {
    const int32_t middle = (low + high) >> 1;
    const int32_t c = compareAt(middle);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        if (!firstOfEqual) low = middle;
      }
    }
  }
  index = low;
  return found;
}

// Quicksort of l..r (not stable) with compare(i, j) on indexes and exchange(i, j); the
// pivot is followed by index through the exchanges.
template <typename Compare, typename Exchange>
void IndexQuickSort(int32_t l, int32_t r, Compare compare, Exchange exchange) {
  int32_t i;
  do {
    i = l;
    int32_t j = r;
    int32_t p = (l + r) >> 1;
    do {
      while (compare(i, p) < 0) ++i;
      while (compare(j, p) > 0) --j;
      if (i <= j) {
        exchange(i, j);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) IndexQuickSort(l, j, compare, exchange);
    l = i;
  } while (i < r);
}
