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
    /// What the guitarist plays with the capo on: the distinct chords of the
    /// song moved by shift, spelled in the key of the shapes whatever the
    /// song's own spelling (the song as written for capo 0). The table's
    /// names come in table order, then the names outside the table in full
    /// ("G#dim", "Asus4") in order of first occurrence. Bass notes and
    /// fingerings are no shapes.
    std::vector<std::string> shapes;
    /// The score of the song moved so: each chord once, a name outside the
    /// table as its base chord.
    int score = 0;
    /// The key of the shapes ("G" for a song in Bb with capo 3), as the key
    /// of the moved song is named; empty for a song without chords.
    std::string key;
};

/// The rows for capo 0 to kHighestCapo of the song as written, each as
/// Transpose(ShiftForCapo(capo)) would leave it with the song's options and
/// the key's spelling.
std::vector<CapoChoice> CapoChoices(const CTablature& song);

/// The capo with the lowest score, the lowest capo on a tie; 0 without rows.
int BestCapo(const std::vector<CapoChoice>& choices);

/// How a player says it: "Capo 3: play in G shapes, sounds in Bb", "No
/// capo: play in Bb"; without a key, "Capo 3" or "No capo". soundingKey is
/// the key of the song as written.
std::string CapoText(const CapoChoice& choice, const std::string& soundingKey);

/// The line a saved song gets at its top: "Capo 3: shapes in G, sounds in
/// Bb." (a comma or a full stop right after each key, so that no reader of
/// the sheet, this program included, takes the keys for chords of the song);
/// "Capo 3" without a key; empty for capo 0.
std::string CapoFileLine(const CapoChoice& choice, const std::string& soundingKey);
