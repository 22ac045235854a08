#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Tablature.h"

namespace {

const SongOptions kTableOnly{};
const SongOptions kChordLines{false, Spelling::AsWritten, false, true};
const SongOptions kByKey{false, Spelling::Key, false};
const SongOptions kByKeyEveryName{true, Spelling::Key, false, true};

CTablature Read(const std::string& text, const SongOptions& options) {
    CTablature song;
    song.SetOptions(options);
    song.Detect(text);
    return song;
}

std::string Moved(const std::string& text, const SongOptions& options, int shift) {
    CTablature song = Read(text, options);
    song.Transpose(shift);
    return song.text;
}

// The name of the note on a scale degree (half-tones above the tonic) of a
// key, worked out from the key's scale: its own notes on the scale's
// letters; bII, and in a major key bIII, bVI and bVII, on the upper letter
// flattened; #IV and a minor key's raised notes on the lower one raised.
// The tonic is written on its signature's side, six as flats; then among
// the chord table's 17 names (Cb as B, F## as G).
std::string DegreeName(int tonic, bool minor, int degree) {
    const std::string letters = "CDEFGAB";
    const std::vector<int> natural = {0, 2, 4, 5, 7, 9, 11};
    const std::vector<int> scale = minor ? std::vector<int>{0, 2, 3, 5, 7, 8, 10} : natural;
    const auto find = [](const std::vector<int>& notes, int note) {
        return static_cast<int>(std::find(notes.begin(), notes.end(), (note + 12) % 12) - notes.begin());
    };
    int step = find(scale, degree);
    if (step == 7)
        step = (minor ? degree == 1 : degree != 6) ? find(scale, degree + 1) : find(scale, degree - 1);
    const bool flatSide = (tonic + (minor ? 3 : 0)) * 7 % 12 >= 6;
    const int tonicLetter =
        find(natural, tonic) < 7 ? find(natural, tonic) : find(natural, tonic + (flatSide ? 1 : -1));
    const int letter = (tonicLetter + step) % 7;
    const int pitch = (tonic + degree) % 12;
    const int alter = ((pitch - natural[static_cast<std::size_t>(letter)]) % 12 + 18) % 12 - 6;
    std::string name = letters.substr(static_cast<std::size_t>(letter), 1) + (alter == 1    ? "#"
                                                                              : alter == -1 ? "b"
                                                                                            : "");
    if (std::abs(alter) > 1 || name == "Cb" || name == "Fb" || name == "E#" || name == "B#") {
        const int white = find(natural, pitch);
        const int below = find(natural, pitch - 1);
        const int above = find(natural, pitch + 1);
        name = white < 7   ? letters.substr(static_cast<std::size_t>(white), 1)
               : alter > 0 ? letters.substr(static_cast<std::size_t>(below), 1) + "#"
                           : letters.substr(static_cast<std::size_t>(above), 1) + "b";
    }
    return name;
}

// A song in the key: a cadence, a major chord on the degree, the cadence again.
std::string SongWith(int tonic, bool minor, int degree) {
    const std::string m = minor ? "m" : "";
    const std::string cadence = DegreeName(tonic, minor, 0) + m + " " + DegreeName(tonic, minor, 5) + m + " " +
                                DegreeName(tonic, minor, 7) + "7 " + DegreeName(tonic, minor, 0) + m;
    return cadence + "\n" + DegreeName(tonic, minor, degree) + "\n" + cadence + "\n";
}

} // namespace

TEST(SongKey, IsTheKeyItsChordsMake) {
    struct Case {
        const char* song;
        SongOptions options;
        const char* key;
    };
    const std::vector<Case> cases = {
        {"G C D7 G", kTableOnly, "G"},
        {"Em Am B7 Em", kTableOnly, "Em"},
        {"Bbm7 Ebm F7 Bbm", kTableOnly, "Bbm"},
        {"x Cmaj7 Am Dm7 E7 Am", kTableOnly, "Am"},
        {"C G Am F\nC G F C", kTableOnly, "C"},
        {"A C G A", kTableOnly, "A"},
        {"E D A E", kTableOnly, "E"},
        {"la la", kTableOnly, ""},
        // The keys of six on the writer's side; seven sharps as five flats.
        {"Gb Ebm Db7 Gb", kTableOnly, "Gb"},
        {"F# D#m C#7 F#", kTableOnly, "F#"},
        {"Ebm Abm Bb7 Ebm", kTableOnly, "Ebm"},
        {"D#m G#m A#7 D#m", kTableOnly, "D#m"},
        {"C# F# G#7 C#", kTableOnly, "Db"},
        {"A#m D#m F7 A#m", kTableOnly, "Bbm"},
        // Cb is written on the flat side (E# on the sharp one).
        {"Gb Cb C#7 F# Cb C#7 Gb", kByKeyEveryName, "Gb"},
        // A title and lyrics start nothing; a legend neither.
        {"Am I Blue\nG C D7 G\nEm C D7 G\nA poor man\n", kChordLines, "G"},
        {"A Song\nG C D G\nEm C D G\nI sang it in A\n", kTableOnly, "G"},
        {"D G A7 D\nG A7 D\n\nA7 (x02020)  G (320003)\n", kChordLines, "D"},
        {"D G A7 D\nG A7 D\n\nA7 (x02020)  G (320003)\n", kTableOnly, "D"},
        {"Abdim (xx0101)\nAm Dm E7 Am\n", {true, Spelling::AsWritten, false, true}, "Am"},
        // Bass notes are notes; names outside the table count by their kind.
        {"Am Am/G Am/F# Am/F E7 Am\n", kChordLines, "Am"},
        {"Asus4 A Dmaj9 E7sus4 A", {true, Spelling::AsWritten, false}, "A"},
        {"[G]Amazing [C]grace how [G]sweet the [D7]sound, that [G]saved\n", kChordLines, "G"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.song, c.options).Key(), c.key) << c.song;
    CTablature moved = Read("G C D7 G", kTableOnly);
    moved.Transpose(-1);
    EXPECT_EQ(moved.Key(), "F#") << "a key moves with the song";
}

// A key found before a move moves with the song only when a new reading of
// the moved text hears it there: not for a tie between keys, nor for a name
// that reads otherwise once moved.
TEST(SongKey, AfterAMoveIsTheKeyOfTheMovedText) {
    const std::vector<std::pair<const char*, SongOptions>> songs = {
        {"G C D7 G", kTableOnly},
        {"Gb Ebm Db7 Gb", kByKey},
        {"Am I Blue\nG C D7 G\nEm C D7 G\nA poor man\n", kTableOnly},
        {"Csus4 Dsus4 Gsus4", kByKeyEveryName},
        {"E#7 Am E#7 Am", kByKeyEveryName},
        {"Gb Cb Db7 Gb Ebm Cb", kByKeyEveryName},
        {"G    C    D7\nAm   D7        G\n", {false, Spelling::Sharps, true}},
        // In German every name is written by the notation.
        {"C E/G# Ami\nF G7 C\n", {true, Spelling::Key, false, true, Notation::German}},
    };
    for (const auto& [text, options] : songs) {
        for (int shift = -6; shift <= 6; ++shift) {
            CTablature song = Read(text, options);
            song.Key();
            song.Transpose(shift);
            EXPECT_EQ(song.Key(), Read(song.text, options).Key()) << text << " by " << shift;
        }
    }
}

// Every degree of every key, written in the key and moved up a half-tone:
// the moved song writes each degree as the moved key does.
TEST(SongKey, SpellsEveryDegreeOfEveryKeyByItsScale) {
    for (int minor = 0; minor < 2; ++minor) {
        for (int tonic = 0; tonic < 12; ++tonic) {
            for (int degree = 0; degree < 12; ++degree) {
                const std::string song = SongWith(tonic, minor != 0, degree);
                EXPECT_EQ(Moved(song, kByKey, 1), SongWith((tonic + 1) % 12, minor != 0, degree)) << song;
            }
        }
    }
}

TEST(SongKey, SpellsRealProgressionsByDegree) {
    struct Case {
        const char* song;
        SongOptions options;
        int shift;
        const char* moved;
    };
    const std::vector<Case> cases = {
        // A minor to Bb minor, not A# minor.
        {"Am G Dm C\nAm G Dm E7 Am\n", kByKey, 1, "Bbm Ab Ebm Db\nBbm Ab Ebm F7 Bbm\n"},
        // E to G: the borrowed bVII and bIII are F and Bb, not E# and A#.
        {"E D G A E\nE A B7 E\n", kByKey, 3, "G F Bb C G\nG C D7 G\n"},
        {"A C G A", kByKey, 3, "C Eb Bb C"},
        // The bass of a slash chord as its chord builds it; a diminished
        // chord as the leading note it is.
        {"C E/G# Am\nF G7 C\n", kByKeyEveryName, 2, "D F#/A# Bm\nG A7 D\n"},
        {"C C#dim Dm G7 C", kByKeyEveryName, 2, "D D#dim Em A7 D"},
        // A German sheet has no A#: its B stands for it.
        {"C E/G# Ami\nF G7 C\n", {true, Spelling::Key, false, true, Notation::German}, 2, "D F#/B Hmi\nG A7 D\n"},
        // The keys of six as the writer spells.
        {"G C D7 G", kByKey, -1, "F# B C#7 F#"},
        {"F Bb C7 F", kByKey, 1, "Gb B Db7 Gb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Moved(c.song, c.options, c.shift), c.moved) << c.song << " by " << c.shift;
}
