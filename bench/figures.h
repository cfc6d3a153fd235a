#pragma once
// How every benchmark prints its figures: one a line, "name: value unit".

#include <algorithm>
#include <cstdio>
#include <vector>

inline void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The p-th percentile of the samples, 0 when there are none.
inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p / 100.0 * double(v.size())))];
}
