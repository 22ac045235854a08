#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/KeySpelling.h"

namespace {

// "F#m" as a key and the pitch class of its tonic.
MusicalKey KeyOf(const std::string& name) {
    static const int natural[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    int tonic = natural[name[0] - 'A'];
    tonic += name.size() > 1 && name[1] == '#' ? 1 : name.size() > 1 && name[1] == 'b' ? -1 : 0;
    return MusicalKey{(tonic + 12) % 12, name.back() == 'm'};
}

SignatureSide SideOfName(const std::string& name) {
    return name.find('b', 1) != std::string::npos ? SignatureSide::Flats : SignatureSide::Sharps;
}

} // namespace

// Each row: the key, then its twelve degrees from the tonic up, as the
// roots of major chords.
TEST(KeySpelling, SpellsEveryDegreeOfEveryKey) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"C", "C Db D Eb E F F# G Ab A Bb B"},         {"G", "G Ab A Bb B C C# D Eb E F F#"},
        {"D", "D Eb E F F# G G# A Bb B C C#"},         {"A", "A Bb B C C# D D# E F F# G G#"},
        {"E", "E F F# G G# A A# B C C# D D#"},         {"B", "B C C# D D# E E# F# G G# A A#"},
        {"F#", "F# G G# A A# B B# C# D D# E E#"},      {"Gb", "Gb Abb Ab Bbb Bb Cb C Db Ebb Eb Fb F"},
        {"Db", "Db Ebb Eb Fb F Gb G Ab Bbb Bb Cb C"},  {"Ab", "Ab Bbb Bb Cb C Db D Eb Fb F Gb G"},
        {"Eb", "Eb Fb F Gb G Ab A Bb Cb C Db D"},      {"Bb", "Bb Cb C Db D Eb E F Gb G Ab A"},
        {"F", "F Gb G Ab A Bb B C Db D Eb E"},         {"Am", "A Bb B C C# D D# E F F# G G#"},
        {"Em", "E F F# G G# A A# B C C# D D#"},        {"Bm", "B C C# D D# E E# F# G G# A A#"},
        {"F#m", "F# G G# A A# B B# C# D D# E E#"},     {"C#m", "C# D D# E E# F# F## G# A A# B B#"},
        {"G#m", "G# A A# B B# C# C## D# E E# F# F##"}, {"D#m", "D# E E# F# F## G# G## A# B B# C# C##"},
        {"Ebm", "Eb Fb F Gb G Ab A Bb Cb C Db D"},     {"Bbm", "Bb Cb C Db D Eb E F Gb G Ab A"},
        {"Fm", "F Gb G Ab A Bb B C Db D Eb E"},        {"Cm", "C Db D Eb E F F# G Ab A Bb B"},
        {"Gm", "G Ab A Bb B C C# D Eb E F F#"},        {"Dm", "D Eb E F F# G G# A Bb B C C#"},
    };
    for (const auto& [keyName, spelled] : rows) {
        const MusicalKey key = KeyOf(keyName);
        const SignatureSide side = SideOfName(keyName);
        std::istringstream expected(spelled);
        std::string name;
        for (int degree = 0; expected >> name; ++degree)
            EXPECT_EQ(CKeySpelling::Root(key.tonic + degree, key, side).Name(), name)
                << "degree " << degree << " of " << keyName;
    }
}

// A song moved by a shift: the key it lands in is written on the side of
// the original's writer, and each chord by its role in that key.
TEST(KeySpelling, SpellsTheRolesOfChordsAfterAShift) {
    struct Case {
        const char* original;
        SignatureSide written;
        int shift;
        const char* chord; // root, "dim" for a diminished one, "/bass"
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"E", SignatureSide::Sharps, 3, "E", "G"},
        {"E", SignatureSide::Sharps, 3, "G", "Bb"},
        {"A", SignatureSide::Sharps, 3, "C", "Eb"},
        {"A", SignatureSide::Sharps, 3, "G", "Bb"},
        {"G", SignatureSide::Sharps, -2, "C#dim", "Bdim"},
        {"Bb", SignatureSide::Flats, 2, "Ebdim", "Fdim"},
        {"Am", SignatureSide::Sharps, 0, "E/G#", "E/G#"},
        {"C", SignatureSide::Sharps, 0, "E/G#", "E/G#"},
        {"C", SignatureSide::Sharps, 0, "G#dim", "G#dim"},
        {"C", SignatureSide::Sharps, 0, "G#", "Ab"},
        {"C", SignatureSide::Flats, 0, "D/F#", "D/F#"},
        {"C", SignatureSide::Sharps, 0, "C#dim/E", "C#dim/E"},
        {"C", SignatureSide::Sharps, 0, "A#dim/G", "A#dim/G"},
        {"Dm", SignatureSide::Flats, 0, "A/C#", "A/C#"},
        {"E", SignatureSide::Sharps, 2, "E", "F#"},
        {"Ab", SignatureSide::Flats, -2, "Ab", "Gb"},
        {"C", SignatureSide::Flats, 6, "C", "Gb"},
        {"C", SignatureSide::Sharps, 6, "C", "F#"},
        {"Bm", SignatureSide::Sharps, 4, "Bm", "D#m"},
        {"Fm", SignatureSide::Flats, -2, "Fm", "Ebm"},
        {"F#", SignatureSide::Flats, 0, "B", "Cb"},
        {"F#", SignatureSide::Sharps, 0, "C", "B#"},
    };
    for (const Case& c : cases) {
        const MusicalKey original = KeyOf(c.original);
        const MusicalKey key = MovedKey(original, c.shift);
        const SignatureSide side = CKeySpelling::WritersSide(original, c.written);
        const std::string chord = c.chord;
        const std::size_t slash = chord.find('/');
        const std::string root = chord.substr(0, slash);
        const bool diminished = root.find("dim") != std::string::npos;
        const int rootPitch = KeyOf(root.substr(0, root.size() > 1 && root[1] != 'm' && root[1] != 'd' ? 2 : 1)).tonic;
        std::string moved = CKeySpelling::Root(rootPitch + c.shift, key, side, diminished).Name();
        moved += diminished ? "dim" : root.back() == 'm' ? "m" : "";
        if (slash != std::string::npos)
            moved += "/" + CKeySpelling::Bass(KeyOf(chord.substr(slash + 1)).tonic + c.shift, rootPitch + c.shift, key,
                                              side, diminished)
                               .Name();
        EXPECT_EQ(moved, c.expected) << c.chord << " in " << c.original << " moved by " << c.shift;
    }
}

TEST(KeySpelling, SimplifiesToTheNamesOfTheChordTable) {
    const std::vector<std::pair<SpelledNote, const char*>> cases = {
        {{'C', 0}, "C"},  {{'F', 1}, "F#"}, {{'B', -1}, "Bb"}, {{'C', -1}, "B"}, {{'F', -1}, "E"},
        {{'E', 1}, "F"},  {{'B', 1}, "C"},  {{'F', 2}, "G"},   {{'C', 2}, "D"},  {{'E', -2}, "D"},
        {{'B', -2}, "A"}, {{'A', 2}, "B"},  {{'D', -2}, "C"},  {{'G', 2}, "A"},  {{'E', 2}, "F#"},
    };
    for (const auto& [note, name] : cases)
        EXPECT_EQ(note.Simplified().Name(), name) << note.Name();
}
