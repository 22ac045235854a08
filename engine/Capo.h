#pragma once

#include <string>
#include <vector>

class CTablature;

/// The highest fret the capo table offers.
inline constexpr int kHighestCapo = 7;

/// A capo on fret c sounds c half-tones up: the song is played with the
/// shapes of the song moved down c half-tones. Moving down 7 is moving up 5.
constexpr int ShiftForCapo(int capo) {
    return capo == 7 ? 5 : -capo;
}

/// One row of the capo table.
struct CapoChoice {
    int capo = 0;
    /// ShiftForCapo(capo).
    int shift = 0;
    /// The distinct chords of the song at that shift, as its options write
    /// them, and their score: what the guitarist plays with the capo on.
    std::vector<std::string> shapes;
    int score = 0;
};

/// The rows for capo 0 to kHighestCapo of the song as written, each as
/// Transpose(ShiftForCapo(capo)) would leave it with the song's options.
std::vector<CapoChoice> CapoChoices(const CTablature& song);

/// The capo with the lowest score, the lowest capo on a tie; 0 without rows.
int BestCapo(const std::vector<CapoChoice>& choices);
