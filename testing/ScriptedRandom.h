// A random source that hands out the values a test scripted, in order, over and over.
#pragma once

#include "engine/RandomSource.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class ScriptedRandom final : public RandomSource
{
public:
    ScriptedRandom(std::initializer_list<double> values)
        : m_values(values)
    {
    }

    /// The unit value that makes RandomFromZero(n) or RandomFromOne(n) give a chosen result:
    /// the middle of that result's share of [0, 1).
    static double forZeroBased(int result, int n) { return (result + 0.5) / (n + 1); }
    static double forOneBased(int result, int n) { return (result - 0.5) / n; }

    void append(double value) { m_values.push_back(value); }

    double nextUnit() override
    {
        ++m_draws;
        if (m_values.empty()) {
            return 0.0;
        }
        const double value = m_values[m_next];
        m_next = (m_next + 1) % m_values.size();
        return value;
    }

    std::size_t draws() const { return m_draws; }

private:
    std::vector<double> m_values;
    std::size_t m_next = 0;
    std::size_t m_draws = 0;
};
