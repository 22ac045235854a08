#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "chords/ChordName.h"
#include "chords/NoteSpelling.h"
#include "chords/Pitch.h"

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
        {"E#7", "E", "#7", Major, false},
        {"Abmin7", "Ab", "min7", Minor, false},
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
    for (const char* notName : {"", "H", "Cb", "c", "Am,", "G/B", "Asus4 ", "Cadd", "Bb(9"})
        EXPECT_FALSE(ChordName::Parse(notName)) << notName;
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
