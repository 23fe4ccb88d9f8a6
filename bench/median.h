// The middle of a benchmark's round times: the best of a few swings with the load of a
// shared machine, the median does not.
#pragma once

#include <algorithm>
#include <vector>

inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const size_t middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}
