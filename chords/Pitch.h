#pragma once

/// A pitch class: C is 0, C# and Db are 1, ... B is 11. Moving it by any
/// number of half-tones, up or down, wraps around the octave.
class Pitch final {
public:
    static constexpr int kCount = 12;

    /// C.
    constexpr Pitch() = default;
    /// The pitch class the given number of half-tones above C falls on,
    /// negative numbers included.
    constexpr explicit Pitch(int halfTones) : m_value(Wrap(halfTones)) {}

    /// halfTones folded into 0..11: shifts twelve half-tones apart give the same pitches.
    static constexpr int Wrap(int halfTones) { return (halfTones % kCount + kCount) % kCount; }

    constexpr int Value() const { return m_value; }
    /// This pitch moved by halfTones, up (positive) or down.
    constexpr Pitch Moved(int halfTones) const { return Pitch(m_value + halfTones); }
    /// The half-tones up from this pitch to other, 0..11.
    constexpr int UpTo(Pitch other) const { return Wrap(other.m_value - m_value); }

    constexpr bool operator==(Pitch other) const { return m_value == other.m_value; }
    constexpr bool operator!=(Pitch other) const { return m_value != other.m_value; }

private:
    int m_value = 0;
};
