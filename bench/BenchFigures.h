// Order statistics the benchmarks print: median, percentiles and the largest sample.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace bench {

/// The nearest-rank percentile (0 to 100) of the samples; 0 for no samples.
inline double percentile(std::vector<double> samples, double percent)
{
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = std::ceil(percent / 100.0 * static_cast<double>(samples.size()));
    const double count = static_cast<double>(samples.size());
    return samples[static_cast<std::size_t>(std::clamp(rank, 1.0, count)) - 1];
}

/// The middle sample, or the mean of the two middle ones for an even count; 0 for none.
inline double median(std::vector<double> samples)
{
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    if (samples.size() % 2 == 1) {
        return samples[middle];
    }
    return (samples[middle - 1] + samples[middle]) / 2.0;
}

inline double largest(const std::vector<double>& samples)
{
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

} // namespace bench
