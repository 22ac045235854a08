#include "engine/KeyFinder.h"

#include <array>
#include <string_view>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// How well a chord fits a key, by the degree of its root above the tonic
// (0..11) and its kind (Major, Minor, Dominant7, Diminished): 1 for the
// chords the key is built of, less for what a musician still hears as
// belonging (secondary dominants, borrowed chords, passing diminished
// chords), 0 for a chord foreign to the key.
using FitTable = std::array<std::array<double, 4>, 12>;

constexpr FitTable kMajorFit = {{
    {1.0, 0.2, 0.6, 0.0}, // I, borrowed i, I7 on its way to IV
    {0.3, 0.0, 0.0, 0.5}, // bII, #I dim leading to ii
    {0.6, 1.0, 0.7, 0.0}, // II as V of V, ii
    {0.4, 0.0, 0.0, 0.4}, // borrowed bIII, #II dim leading to iii
    {0.5, 1.0, 0.5, 0.0}, // III as V of vi, iii
    {1.0, 0.5, 0.3, 0.0}, // IV, borrowed iv
    {0.0, 0.2, 0.0, 0.6}, // #IV half-diminished and diminished
    {1.0, 0.3, 1.0, 0.0}, // V and V7, mixolydian v
    {0.5, 0.0, 0.2, 0.4}, // borrowed bVI, #V dim leading to vi
    {0.5, 1.0, 0.5, 0.0}, // VI as V of ii, vi
    {0.6, 0.0, 0.3, 0.0}, // borrowed bVII
    {0.4, 0.2, 0.4, 1.0}, // VII as V of iii, vii dim
}};

constexpr FitTable kMinorFit = {{
    {0.4, 1.0, 0.4, 0.0}, // Picardy I, i, I7 on its way to iv
    {0.3, 0.0, 0.0, 0.3}, // Neapolitan bII
    {0.5, 0.4, 0.6, 1.0}, // II as V of V, dorian ii, ii dim
    {1.0, 0.0, 0.3, 0.0}, // III
    {0.0, 0.0, 0.0, 0.0},
    {0.5, 1.0, 0.4, 0.0}, // dorian IV, iv
    {0.0, 0.0, 0.0, 0.5}, // #IV dim leading to V
    {1.0, 0.7, 1.0, 0.0}, // the major V the leading note makes, natural v
    {1.0, 0.0, 0.2, 0.0}, // VI
    {0.0, 0.0, 0.0, 0.3}, // #VI dim
    {1.0, 0.0, 0.8, 0.0}, // VII, VII7 as V of III
    {0.3, 0.0, 0.3, 1.0}, // vii dim on the leading note
}};

// The notes of the scale, harmonic minor for a minor key: a chord without
// a third (sus, power chord) fits when its root is one of them.
constexpr std::array<bool, 12> kMajorScale = {true,  false, true,  false, true,  true,
                                              false, true,  false, true,  false, true};
constexpr std::array<bool, 12> kMinorScale = {true,  false, true, true,  false, true,
                                              false, true,  true, false, true,  true};
constexpr double kRootOnlyFit = 0.5;

// The weights of what makes a chord the tonic besides fitting: how much of
// the song it fills, and whether the song ends and starts on it. The end
// weighs more: a song starts on a pick-up or an intro as often as not,
// while it nearly always ends on its tonic.
constexpr double kTonicShareWeight = 1.0;
// A dominant seventh that resolves a fifth down onto the tonic (A7 D in D)
// is the cadence that names a key; the same A7 leading elsewhere does not.
constexpr double kCadenceWeight = 0.5;
constexpr double kLastChordWeight = 0.75;
constexpr double kFirstChordWeight = 0.25;
// A song that starts and ends on two different triads, and does not end
// on a cadence, may be a progression written out once ("C G Am F"), which
// stops where its turn ends, as well as a song after a pick-up: either end
// may be the tonic, so both weigh the same and the harmony decides. It
// takes a turn of at least three triads to hear a key in; with fewer the
// ending tells more ("Bbm7 F" ends in F).
constexpr double kOpenEndWeight = (kFirstChordWeight + kLastChordWeight) / 2;
constexpr int kTurnTriads = 3;
// What a chord-like word off the chord lines counts for, against 1 for a
// chord of the song: the chords of a legend are mostly the song's, a word
// of the lyrics mostly not.
constexpr double kOffLineWeight = 0.25;

int Degree(const KeyChord& chord, MusicalKey key) {
    return ((chord.root - key.tonic) % 12 + 12) % 12;
}

double Fit(const KeyChord& chord, MusicalKey key) {
    const int degree = Degree(chord, key);
    if (chord.kind == ChordKind::Other)
        return (key.minor ? kMinorScale : kMajorScale)[static_cast<std::size_t>(degree)] ? kRootOnlyFit : 0.0;
    const FitTable& table = key.minor ? kMinorFit : kMajorFit;
    return table[static_cast<std::size_t>(degree)][static_cast<std::size_t>(chord.kind)];
}

// The tonic chord itself, as a triad: a seventh on the root is a dominant
// on its way elsewhere (the A7 of a song in D), not a place to rest.
bool IsTonic(const KeyChord& chord, MusicalKey key) {
    return chord.root == key.tonic && chord.kind == (key.minor ? ChordKind::Minor : ChordKind::Major);
}

bool IsTriad(const KeyChord& chord) {
    return chord.kind == ChordKind::Major || chord.kind == ChordKind::Minor;
}

bool IsSameChord(const KeyChord& a, const KeyChord& b) {
    return a.root == b.root && a.kind == b.kind;
}

// Whether the chord is the dominant of the other, a fifth above it, with or
// without its seventh.
bool IsDominantOf(const KeyChord& chord, const KeyChord& other) {
    return (chord.kind == ChordKind::Major || chord.kind == ChordKind::Dominant7) &&
           (chord.root - other.root + 12) % 12 == 7;
}

} // namespace

ChordKind ChordKindOfSuffix(std::string_view written) {
    // The longest prefix asked for is four bytes; parentheses do not count.
    char bytes[4];
    std::size_t size = 0;
    for (std::size_t i = 0; i < written.size() && size < sizeof bytes; ++i) {
        if (written[i] != '(' && written[i] != ')')
            bytes[size++] = written[i];
    }
    const std::string_view suffix(bytes, size);
    // A songbook asks for every name outside the table: the first byte
    // picks the few prefixes that can match.
    switch (size == 0 ? '\0' : suffix[0]) {
    case 'm':
        if (StartsWith(suffix, "m7b5") || StartsWith(suffix, "m7-5"))
            return ChordKind::Diminished;
        return StartsWith(suffix, "maj") ? ChordKind::Major : ChordKind::Minor;
    case 'd':
        return StartsWith(suffix, "dim") ? ChordKind::Diminished : ChordKind::Major;
    case 'o':
        return ChordKind::Diminished;
    case '\xC2':
        return StartsWith(suffix, "\xC2\xB0") ? ChordKind::Diminished : ChordKind::Major;
    case 'M':
        return ChordKind::Major;
    // A minus sign stands for minor as well (E-, A-7, D-maj7).
    case '-':
        return ChordKind::Minor;
    case '7':
    case '9':
        return ChordKind::Dominant7;
    case '1':
        return StartsWith(suffix, "11") || StartsWith(suffix, "13") ? ChordKind::Dominant7 : ChordKind::Major;
    case 's':
        return StartsWith(suffix, "sus") ? ChordKind::Other : ChordKind::Major;
    case '5':
    case '+':
        return ChordKind::Other;
    case 'a':
        return StartsWith(suffix, "aug") ? ChordKind::Other : ChordKind::Major;
    default:
        // "", "6", "2", "add9", "69": a major triad with a colour added.
        return ChordKind::Major;
    }
}

namespace {

// Scores are summed in whole units: a tenth of a fit for a chord of the
// song (the fits and weights above are tenths and quarters), so that equal
// scores are equal and a tie goes to the first key however the song's
// chords are ordered.
constexpr int kOnLineUnits = 4;
constexpr int kOffLineUnits = static_cast<int>(kOffLineWeight * kOnLineUnits);
constexpr int Tenths(double value) {
    return static_cast<int>(value * 10 + 0.5);
}

// What the scores of all 24 keys need from a song, read in one pass.
struct ChordTally {
    // Weight units of the chords by root and kind (Major .. Other).
    std::array<std::array<int, 5>, 12> units{};
    // Chords on chord lines that follow a dominant seventh a fifth above
    // their root, by root and kind: cadences if the chord is the tonic.
    std::array<std::array<int, 5>, 12> resolved{};
    int count = 0;
    const KeyChord* first = nullptr;
    const KeyChord* last = nullptr;
    // The chord the song came to the root of its last chord from: Esus4
    // or E7 before the E that ends it is that E on its way.
    const KeyChord* approach = nullptr;
    // Whether both ends may be the tonic (kOpenEndWeight).
    bool openEnd = false;
    // The triads on chord lines, by root and kind (Major, Minor).
    std::array<std::array<bool, 2>, 12> triads{};

    explicit ChordTally(const std::vector<KeyChord>& chords) {
        for (const KeyChord& chord : chords) {
            if (chord.bassOnly)
                continue;
            const auto root = static_cast<std::size_t>(chord.root);
            const auto kind = static_cast<std::size_t>(chord.kind);
            const int weight = chord.onChordLine ? kOnLineUnits : kOffLineUnits;
            units[root][kind] += weight;
            count += weight;
            if (!chord.onChordLine)
                continue;
            if (last && last->kind == ChordKind::Dominant7 && (last->root - chord.root + 12) % 12 == 7)
                ++resolved[root][kind];
            if (!first)
                first = &chord;
            if (last && last->root != chord.root)
                approach = last;
            last = &chord;
            if (IsTriad(chord))
                triads[root][kind] = true;
        }
        int turn = 0;
        for (const auto& byRoot : triads)
            turn += (byRoot[0] ? 1 : 0) + (byRoot[1] ? 1 : 0);
        openEnd = first && IsTriad(*first) && IsTriad(*last) && !IsSameChord(*first, *last) &&
                  !(approach && IsDominantOf(*approach, *last)) && turn >= kTurnTriads;
    }

    double Score(MusicalKey key) const {
        if (count == 0)
            return 0;
        const ChordKind tonicKind = key.minor ? ChordKind::Minor : ChordKind::Major;
        long weighed = 0;
        for (int root = 0; root < 12; ++root) {
            for (int kind = 0; kind < 5; ++kind) {
                const int chordUnits = units[static_cast<std::size_t>(root)][static_cast<std::size_t>(kind)];
                if (chordUnits == 0)
                    continue;
                const KeyChord chord{root, static_cast<ChordKind>(kind), false, true};
                const bool tonic = IsTonic(chord, key);
                weighed +=
                    static_cast<long>(chordUnits) * (Tenths(Fit(chord, key)) + (tonic ? Tenths(kTonicShareWeight) : 0));
            }
        }
        const auto tonic = static_cast<std::size_t>(key.tonic);
        weighed += static_cast<long>(resolved[tonic][static_cast<std::size_t>(tonicKind)]) * kOnLineUnits *
                   Tenths(kCadenceWeight);
        double score = static_cast<double>(weighed) / (10.0 * count);
        if (first && IsTonic(*first, key))
            score += openEnd ? kOpenEndWeight : kFirstChordWeight;
        if (last && IsTonic(*last, key))
            score += openEnd ? kOpenEndWeight : kLastChordWeight;
        return score;
    }
};

} // namespace

double CKeyFinder::Score(const std::vector<KeyChord>& chords, MusicalKey key) {
    return ChordTally(chords).Score(key);
}

std::optional<KeyGuess> CKeyFinder::Find(const std::vector<KeyChord>& chords) {
    const ChordTally tally(chords);
    if (tally.count == 0)
        return std::nullopt;
    // Major keys first, then C upwards: of equal scores the first wins, so
    // a tie between relative keys goes to the major one.
    KeyGuess best;
    double runnerUp = -1;
    bool found = false;
    for (int minor = 0; minor < 2; ++minor) {
        for (int tonic = 0; tonic < 12; ++tonic) {
            const MusicalKey key{tonic, minor != 0};
            const double score = tally.Score(key);
            if (!found || score > best.score) {
                if (found)
                    runnerUp = best.score;
                best.key = key;
                best.score = score;
                found = true;
            } else if (score > runnerUp) {
                runnerUp = score;
            }
        }
    }
    best.margin = best.score - runnerUp;
    return best;
}
