#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "chords/ChordName.h"
#include "chords/NoteSpelling.h"
#include "chords/Pitch.h"
#include "chords/TableNames.h"

namespace {

NoteSpelling Spelled(const char* name) {
    return *NoteSpelling::Of(name[0], name[1] == '#'   ? Accidental::Sharp
                                      : name[1] == 'b' ? Accidental::Flat
                                                       : Accidental::Natural);
}

} // namespace

TEST(Pitch, WrapsAroundTheOctaveBothWays) {
    EXPECT_EQ(Pitch(-1), Pitch(11));
    EXPECT_EQ(Pitch(11).Moved(2), Pitch(1));
    EXPECT_EQ(Pitch(2).Moved(-14), Pitch(0));
    EXPECT_EQ(Pitch(9).UpTo(Pitch(2)), 5); // A up to D
    EXPECT_EQ(Pitch(2).UpTo(Pitch(9)), 7);
}

TEST(NoteSpelling, EachOfTheSeventeenReadsBackFromLetterAndFromPitch) {
    // C, then up the octave a half-tone at a time, a black key as its sharp and then its flat.
    EXPECT_EQ(NoteSpelling::AtIndex(0).Name(), "C");
    EXPECT_EQ(NoteSpelling::AtIndex(NoteSpelling::kCount - 1).GetPitch(), Pitch(11));
    for (int i = 0; i < NoteSpelling::kCount; ++i) {
        const NoteSpelling spelling = NoteSpelling::AtIndex(i);
        if (i > 0) {
            const NoteSpelling before = NoteSpelling::AtIndex(i - 1);
            const bool sameKey = spelling.IsFlat() && before.GetAccidental() == Accidental::Sharp;
            EXPECT_EQ(before.GetPitch().UpTo(spelling.GetPitch()), sameKey ? 0 : 1) << spelling.Name();
        }
        EXPECT_EQ(NoteSpelling::Of(spelling.Letter(), spelling.GetAccidental()), spelling) << spelling.Name();
        EXPECT_EQ(NoteSpelling::InFamily(spelling.GetPitch(), spelling.IsFlat()), spelling) << spelling.Name();
    }
    EXPECT_EQ(NoteSpelling::Of('E', Accidental::Sharp), std::nullopt);
    EXPECT_EQ(NoteSpelling::Of('C', Accidental::Flat), std::nullopt);
    EXPECT_EQ(NoteSpelling::Of('H', Accidental::Natural), std::nullopt);
}

TEST(ChordName, ParsesNamesIntoRootSuffixAndBaseChordAndWritesThemBack) {
    struct Case {
        const char* name;
        const char* root;
        const char* suffix;
        ChordQuality quality; // of the base chord for a name outside the table
        bool table;
    };
    const Case cases[] = {
        {"C", "C", "", Major, true},
        {"Dbm", "Db", "m", Minor, true},
        {"F#7", "F#", "7", Seventh, true},
        {"Bbm7", "Bb", "m7", MinorSeventh, true},
        {"Amaj7", "A", "maj7", MajorSeventh, true},
        {"Asus4", "A", "sus4", Major, false},
        {"Bm7b5", "B", "m7b5", Minor, false},
        {"Em(add9)", "E", "m(add9)", Minor, false},
        {"Cmaj9", "C", "maj9", Major, false},
        {"C#dim7", "C#", "dim7", Major, false},
        {"D+", "D", "+", Major, false},
        {"Gbadd9", "Gb", "add9", Major, false},
        // A sheet in C# or Gb writes white keys E#, B#, Fb, Cb: outside the
        // table, as the chord the root sounds; before 5, 9, 11 or 13 the sign
        // alters the letter's chord.
        {"E#7", "F", "7", Seventh, false},
        {"Fb", "E", "", Major, false},
        {"Cbmaj7", "B", "maj7", MajorSeventh, false},
        {"B#m7b5", "C", "m7b5", Minor, false},
        {"Fbsus4", "E", "sus4", Major, false},
        {"E#69", "F", "69", Major, false},
        {"Cb+", "B", "+", Major, false},
        {"E#9", "E", "#9", Major, false},
        {"Cb13", "C", "b13", Major, false},
        {"E7+", "E", "7+", Major, false},
        {"Abmin7", "Ab", "min7", Minor, false},
        {"E-", "E", "-", Minor, false},
        {"A-7", "A", "-7", Minor, false},
        {"D-maj7", "D", "-maj7", Minor, false},
        {"AmMaj7", "A", "mMaj7", Minor, false},
        {"AmM7", "A", "mM7", Minor, false},
        {"Bm7-5", "B", "m7-5", Minor, false},
        {"A7+5", "A", "7+5", Major, false},
        {"F9#", "F", "9#", Major, false},
        {"E7alt", "E", "7alt", Major, false},
        {"Eaddb9", "E", "addb9", Major, false},
    };
    for (const Case& c : cases) {
        const std::optional<ChordName> name = ChordName::Parse(c.name);
        ASSERT_TRUE(name) << c.name;
        EXPECT_EQ(name->Root(), Spelled(c.root)) << c.name;
        EXPECT_EQ(name->Suffix(), c.suffix) << c.name;
        EXPECT_EQ(name->Quality(), c.quality) << c.name;
        EXPECT_EQ(name->IsTableName(), c.table) << c.name;
        EXPECT_EQ(name->TableIndex(), c.quality * NoteSpelling::kCount + name->Root().Index()) << c.name;
        EXPECT_FALSE(name->GetBass()) << c.name;
        EXPECT_EQ(name->Write(), c.name);
        EXPECT_EQ(ChordName::Parse(c.name, false).has_value(), c.table) << c.name;
    }
    for (const char* notName :
         {"", "H", "c", "Am,", "G/B", "Asus4 ", "Cadd", "Bb(9", "Ami", "E-mail", "A7-", "E7++", "C#b", "Fbx", "Cb/"})
        EXPECT_FALSE(ChordName::Parse(notName)) << notName;
}

TEST(ChordName, ReadsGermanRootsAndMinorWordsAsTheTablesChords) {
    // name, the table name it scores as, whether it is outside the table. E#,
    // H#, Fb and Cb sound F, C, E and H; B is B flat, which no sign makes a white key.
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"H", "B", false},      {"B", "Bb", false},     {"Hb", "Bb", false},        {"Bb", "Bb", false},
        {"Ami", "Am", false},   {"Hmi7", "Bm7", false}, {"Cmoll", "Cm", false},     {"H7", "B7", false},
        {"Gmi7b5", "Gm", true}, {"Hsus4", "B", true},   {"Bmaj7", "Bbmaj7", false}, {"E#7", "F7", true},
        {"H#", "C", true},      {"Fb", "E", true},      {"Cbmaj7", "Bmaj7", true},
    };
    for (const auto& [text, table, extended] : cases) {
        const std::optional<ChordMatch> match = ChordName::Read(text, true, Notation::German);
        ASSERT_TRUE(match && match->length == std::string_view(text).size()) << text;
        EXPECT_EQ(kTableNames[match->index], table) << text;
        EXPECT_EQ(match->extended, extended) << text;
    }
    for (const char* notName : {"Hi", "Be", "B#", "Hm I", "Amin7x", "Fbx"})
        EXPECT_FALSE(ChordName::Parse(notName, true, Notation::German)) << notName;
}

TEST(ChordName, WritesTheChosenSpellingKeepingSuffixAndBassCase) {
    EXPECT_EQ(ChordName::Parse("Dbm7b5")->Write(Spelled("C#")), "C#m7b5");
    const ChordName slash(Spelled("G"), "", ChordName::Bass{Spelled("B"), false});
    EXPECT_EQ(slash.Write(), "G/B");
    EXPECT_EQ(slash.Write(Spelled("Ab"), Spelled("C")), "Ab/C");
    const ChordName lower(Spelled("A"), "m", ChordName::Bass{Spelled("G#"), true});
    EXPECT_EQ(lower.Write(), "Am/g#");
    EXPECT_EQ(lower.Write(Spelled("Bb"), Spelled("Ab")), "Bbm/ab");
    EXPECT_NE(slash, ChordName(Spelled("G"), ""));
}
