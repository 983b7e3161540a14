// The one-method source of randomness the problem generator draws from.
#pragma once

/// Tests script the values they need; the game uses ClockSeededRandom.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    /// A value r with 0 <= r < 1.
    virtual double nextUnit() = 0;
};
