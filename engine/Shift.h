#pragma once

/// The shifts of the program, in half-tones: -6..+6. A shift outside that
/// names the same transposition twelve half-tones nearer (going up from +6
/// gives -5, down from -6 gives +5); +6 and -6 stay as they are.
inline constexpr int kMaxShift = 6;

/// The shift in -6..+6 that moves the chords as shift does, for shift in -18..+18.
constexpr int WrapShift(int shift) {
    if (shift > kMaxShift)
        return shift - 12;
    if (shift < -kMaxShift)
        return shift + 12;
    return shift;
}
