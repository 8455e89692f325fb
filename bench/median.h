// The median of a benchmark's samples: steadier than their mean on a machine
// that something else wakes now and then.
#pragma once

#include <algorithm>
#include <vector>

inline double Median(std::vector<double>& samples) {
    if (samples.empty()) return 0;
    auto middle = samples.begin() + static_cast<long>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}
