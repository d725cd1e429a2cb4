// A stable merge sort for orders that come from outside (an application's
// compare function): it reads and writes only inside the items whatever
// `less` answers, so a function that is no ordering at all, or answers a
// pair differently each time, gives some permutation of the items rather
// than reads and writes beyond them. For a strict weak ordering the result
// is sorted and equal items keep their order.
#pragma once

#include <algorithm>
#include <vector>

namespace WUI {

// `less(a, b)` gets two elements of the working copies. When it throws,
// items hold the permutation of the last completed pass.
template <class T, class Less>
void SafeStableSort(std::vector<T>& items, Less less)
{
    const size_t n = items.size();
    if (n < 2) return;
    std::vector<T> merged(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) merged[k++] = less(items[j], items[i]) ? items[j++] : items[i++];
            while (i < mid) merged[k++] = items[i++];
            while (j < hi) merged[k++] = items[j++];
        }
        items.swap(merged);
    }
}

}  // namespace WUI
