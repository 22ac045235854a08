#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chords/ChordCatalog.h"
#include "engine/Capo.h"
#include "engine/Tablature.h"
#include "tests/support/CatalogLevelsGuard.h"
#include "tests/support/TablatureInspection.h"

namespace {

const SongOptions kAllChords{true, Spelling::AsWritten, false};

CTablature Detected(const std::string& text, const SongOptions& options) {
    CTablature tablature;
    tablature.SetOptions(options);
    tablature.Detect(text);
    return tablature;
}

std::string Moved(const std::string& text, const SongOptions& options, int shift) {
    CTablature tablature = Detected(text, options);
    tablature.Transpose(shift);
    return tablature.text;
}

// Each name as written, "=" its base chord for a name outside the table.
std::string NamesOf(const CTablature& tablature) {
    std::string names;
    for (int i = 0; i < tablature.OccurrenceCount(); ++i) {
        names += (i ? " " : "") + tablature.NameAt(i);
        if (tablature.IsExtendedAt(i))
            names += "=" + tablature.ChordAt(i).GetName();
    }
    return names;
}

} // namespace

TEST(SongOptions, EveryChordNameTakesTheWiderGrammarOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"Asus4 Bm7b5 Em(add9) C#m7b5 Bb5", "Asus4=A Bm7b5=Bm Em(add9)=Em C#m7b5=C#m Bb5=Bb"},
        {"Add Bad Dim Ebb Amen", ""},
        {"Cmaj9 CM7 Cmin Cdim7 C+ D2 Asus A7sus24", "Cmaj9=C CM7=C Cmin=Cm Cdim7=C C+=C D2=D Asus=A A7sus24=A"},
        {"Fadd11 G7b9 A7#9 E#9 Cb5 Bbm(maj7) C()", "Fadd11=F G7b9=G A7#9=A E#9=E Cb5=C Bbm(maj7)=Bbm C()=C"},
        {"(Asus4) [D6] Gsus4/B Am Cmaj7", "Asus4=A D6=D Gsus4=G B Am Cmaj7"},
        // The grammar as a whole, and a right delimiter or the end after it.
        {"Asus4, Csu4 Csux Cadd C#b E7++ Ami Cm7x Cmaj7b xAsus4 -Dsus4 H7sus4 Fbx", ""},
        // White keys with a sign are roots; a note after "/" is a name of its own.
        {"Cb E7+ E#7 B# Fbm Cbmaj7 E#m7b5 C#/E# Ab/Cb",
         "Cb=B E7+=E E#7=F7 B#=C Fbm=Em Cbmaj7=Bmaj7 E#m7b5=Fm C# E#=F Ab Cb=B"},
    };
    for (const auto& [text, names] : cases)
        EXPECT_EQ(NamesOf(Detected(text, kAllChords)), names) << text;
    // Without the option they stay as written, and are named so, each once;
    // E#7 as E with a raised seventh, and neither Fb nor E7+.
    const CTablature tableOnly = Detected("Asus4 G Dsus4 Asus4 (Em(add9)) Amen E#7 Fb E7+", SongOptions());
    EXPECT_EQ(NamesOf(tableOnly), "G");
    EXPECT_EQ(tableOnly.UntouchedNames(), (std::vector<std::string>{"Asus4", "Dsus4", "Em(add9)", "E#7"}));
    EXPECT_EQ(Detected(tableOnly.text, kAllChords).UntouchedNames(), std::vector<std::string>{});
    // On chord lines these forms are words unless every chord name moves.
    EXPECT_EQ(Moved("A  Fb  B#  Cb  E7+", {false, Spelling::AsWritten, false, true}, 1), "A  Fb  B#  Cb  E7+");
    EXPECT_EQ(Moved("A  Fb  B#  Cb  E7+", {true, Spelling::AsWritten, false, true}, 1), "A#  F  C#  C  F7+");
}

TEST(SongOptions, NamesOutsideTheTableMoveByTheirRootAndScoreAsTheirBase) {
    CCatalogLevelsGuard levels;
    CTablature song = Detected("Asus4 D Bm7b5 A#dim Bbsus4 C(maj7) Dsus2", kAllChords);
    // The table's chords first, then each new base chord in order of first occurrence.
    EXPECT_EQ(DistinctNamesOf(song), (std::vector<std::string>{"D", "A", "Bm", "A#", "C"}));
    int sum = 0;
    for (const char* name : {"D", "A", "Bm", "A#", "C"})
        sum += theChordCatalog.Find(name)->GetDifficulty();
    EXPECT_EQ(song.GetScore(), sum);
    song.Transpose(3);
    EXPECT_EQ(song.text, "Csus4 F Dm7b5 C#dim Dbsus4 D#(maj7) Fsus2");
    // A moved name reads as the text now holds it: E#7 moved up is the table's F#7.
    EXPECT_EQ(NamesOf(Detected(Moved("E#7 Asus4", kAllChords, 1), kAllChords)), "F#7 A#sus4=A#");
}

TEST(SongOptions, SpellsMovedNamesAsAsked) {
    struct Case {
        const char* song;
        Spelling spelling;
        int shift;
        const char* moved;
        bool allChords = false;
    };
    const Case cases[] = {
        {"C Db F#m Bb", Spelling::AsWritten, 1, "C# D Gm B"},
        {"C Db F#m Bb", Spelling::Flats, 3, "Eb E Am Db"},
        {"C Db F#m Bb", Spelling::Sharps, 3, "D# E Am C#"},
        {"C Db F#m Bb", Spelling::Sharps, 0, "C Db F#m Bb"}, // shift 0 stays as written
        {"C G Am F", Spelling::Key, 3, "Eb Bb Cm Ab"},
        {"C G Am F", Spelling::Key, 6, "F# C# D#m B"},
        {"Am Dm E7 Bb", Spelling::Key, 5, "Dm Gm A7 Eb"},    // D minor: flats
        {"Am Dm E7 Bb", Spelling::Key, 11, "G#m C#m D#7 A"}, // G# minor: sharps
        {"D A# Eb", Spelling::Key, -2, "C Ab Db"},           // D major to C: bVI and bII
        {"Em7 A#", Spelling::Key, 3, "Gm7 Db"},              // m7 is minor
        {"Cmaj7 A#", Spelling::Key, 5, "Fmaj7 Eb"},          // maj7 is major
        // E#, B#, Fb, Cb move as the notes they sound, Fb and Cb as flats.
        {"E#7 B# Fb Cbmaj7 E7+ Gb C", Spelling::AsWritten, -1, "E7 B Eb Bbmaj7 D#7+ F B", true},
        {"E#7 B# Fb Cbmaj7 E7+ Gb C", Spelling::AsWritten, 2, "G7 D Gb Dbmaj7 F#7+ Ab D", true},
        {"E#7 B# Fb Cbmaj7 E7+ Gb C", Spelling::AsWritten, 0, "E#7 B# Fb Cbmaj7 E7+ Gb C", true},
        {"E#7 B# Fb Cbmaj7 E7+ Gb C", Spelling::AsWritten, 12, "E#7 B# Fb Cbmaj7 E7+ Gb C", true},
        // E#9 is E with a raised ninth, Cb5 C with a lowered fifth: moved,
        // the alteration is parted from the root (not F#9, a ninth chord).
        {"Fb Cbm E#9 Cb5 A+ C+7 Caug", Spelling::Sharps, -1, "D# A#m D#(#9) B(b5) G#+ B+7 Baug", true},
        {"E#9 Cb5 Fb#11sus4 E#9", Spelling::AsWritten, 1, "F(#9) C#(b5) F(#11)sus4 F(#9)", true},
        {"C#/E# Ab/Cb Abm/cb Fb(/Ab)", Spelling::AsWritten, 1, "D/F# A/C Am/c F(/A)", true},
        {"Gb Cb Db7 Gb Ebm Cbmaj7", Spelling::Key, -1, "F Bb C7 F Dm Bbmaj7", true},
        {"C# F# G# E#m7b5 A#m", Spelling::Key, -1, "C F G Em7b5 Am", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Moved(c.song, {c.allChords, c.spelling, false}, c.shift), c.moved) << c.song << " by " << c.shift;
        EXPECT_EQ(Moved(c.song, {c.allChords, c.spelling, false, true}, c.shift), c.moved)
            << c.song << " by " << c.shift << " on chord lines";
    }
    EXPECT_EQ(Moved("Dsus4 Bm", {true, Spelling::Key, false}, 3), "Fsus4 Dm") << "the key may come from any name";
}

TEST(SongOptions, EverySpellingMovesEveryNameAtEveryShift) {
    std::string song;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        song += theChordCatalog.GetAt(i).GetName() + " ";
    const CTablature written = Detected(song, SongOptions());
    for (int s = 0; s < 4; ++s) {
        for (int shift = -6; shift <= 6; ++shift) {
            const std::string text = Moved(song, {false, static_cast<Spelling>(s), false}, shift);
            const CTablature moved = Detected(text, SongOptions());
            ASSERT_EQ(moved.OccurrenceCount(), written.OccurrenceCount());
            for (int i = 0; i < moved.OccurrenceCount(); ++i) {
                EXPECT_EQ(moved.ChordAt(i).root, ((written.ChordAt(i).root + shift) % 12 + 12) % 12);
                EXPECT_EQ(moved.ChordAt(i).suffix, written.ChordAt(i).suffix);
            }
            // One family for the whole song: sharps, flats; by key one
            // name for each note, whatever its spelling in the song.
            const bool flats = text.find('b') != std::string::npos;
            const bool sharps = text.find('#') != std::string::npos;
            std::vector<std::string> spellingOf(12);
            for (int i = 0; shift != 0 && s == static_cast<int>(Spelling::Key) && i < moved.OccurrenceCount(); ++i) {
                const std::string name = moved.NameAt(i);
                const std::string root = name.substr(0, name.size() - moved.ChordAt(i).suffix.size());
                std::string& seen = spellingOf[static_cast<std::size_t>(moved.ChordAt(i).root)];
                EXPECT_TRUE(seen.empty() || seen == root) << shift << ": " << seen << " and " << root;
                seen = root;
            }
            if (shift == 0) {
                EXPECT_EQ(text, song);
            } else if (s == static_cast<int>(Spelling::Sharps)) {
                EXPECT_FALSE(flats) << shift;
            } else if (s == static_cast<int>(Spelling::Flats)) {
                EXPECT_FALSE(sharps) << shift;
            }
        }
    }
}

TEST(SongOptions, KeepsColumnsWhereSpacesFollow) {
    struct Case {
        const char* song;
        int shift;
        const char* kept;  // with the option
        const char* loose; // without it
    };
    const Case cases[] = {
        {"C  G   Am  F\nla la la", 1, "C# G#  A#m F#\nla la la", "C#  G#   A#m  F#\nla la la"},
        {"C G", 1, "C# G#", "C# G#"},         // a single space stays
        {"C\tG", 1, "C#\tG#", "C#\tG#"},      // a tab is no space
        {"C\nG  ", 1, "C#\nG# ", "C#\nG#  "}, // at a line end nothing moves
        {"Db  Eb\n", 1, "D   E\n", "D  E\n"}, // a shorter name gets its space back
        {"(Db) Eb", 1, "(D)  E", "(D) E"},    // E stays in its column after a shorter word
        {"C#m7  Bbmaj7  F", -1, "Cm7   Amaj7   E", "Cm7  Amaj7  E"},
        {"Db  Eb", 0, "Db  Eb", "Db  Eb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Moved(c.song, {false, Spelling::AsWritten, true}, c.shift), c.kept) << c.song;
        EXPECT_EQ(Moved(c.song, SongOptions(), c.shift), c.loose) << c.song;
    }
    EXPECT_EQ(Moved("C  Asus4  F", {true, Spelling::AsWritten, true}, 1), "C# A#sus4 F#");
}

TEST(SongOptions, KeyIsTheOneItsChordsMake) {
    const std::pair<const char*, const char*> cases[] = {
        {"Em G D", "D"}, {"x Cmaj7 Am", "Am"}, {"Bbm7 F", "F"}, {"Db C#", "Db"}, {"la la", ""}, {"Cm(maj7) G", "G"},
    };
    for (const auto& [song, key] : cases)
        EXPECT_EQ(Detected(song, SongOptions()).Key(), key) << song;
    EXPECT_EQ(Detected("Cm(maj7) Fm G7 Cm(maj7)", kAllChords).Key(), "Cm");
}

TEST(SongOptions, ScoresOfEveryShiftAreThoseOfTheMovedSong) {
    CCatalogLevelsGuard levels;
    CCatalogLevelsGuard::SetLevel("Db", 5); // the flat spelling of C# scores otherwise
    for (const char* text : {"C G Am F", "Asus4 Dsus2 E7sus4 F#m7b5 Bb", "Db Ebm7 Gb Abmaj7", "E#7 B#m7 Cb5",
                             "Gb Cbmaj7 Ab/Cb Fbsus4 E# Abm/fb"}) {
        for (int s = 0; s < 4; ++s) {
            const CTablature song = Detected(text, {true, static_cast<Spelling>(s), false});
            for (int shift = -6; shift <= 7; ++shift) {
                CTablature moved = song;
                moved.Transpose(shift);
                EXPECT_EQ(song.ChordsAt(shift).distinct, DistinctNamesOf(moved)) << text << " by " << shift;
                EXPECT_EQ(song.ChordsAt(shift).score, moved.GetScore()) << text << " by " << shift;
            }
        }
    }
    // A legend whose fingering cannot move sound keeps its name as written.
    for (const char* text : {"A9 (x42000)  E7 (020100)\nA9  D  E7\n", "Bm/A (x04432)\nBm/A  G  C  F#m\n"}) {
        const CTablature song = Detected(text, {true, Spelling::AsWritten, false, true});
        for (int shift = -6; shift <= 6; ++shift) {
            CTablature moved = song;
            moved.Transpose(shift);
            EXPECT_EQ(song.ChordsAt(shift).distinct, DistinctNamesOf(moved)) << text << " by " << shift;
            EXPECT_EQ(song.ChordsAt(shift).score, moved.GetScore()) << text << " by " << shift;
        }
    }
    // The capo on fret 7 plays the shapes five half-tones up; the lowest capo wins a tie.
    EXPECT_EQ(ShiftForCapo(7), 5);
    std::vector<CapoChoice> tie(3);
    for (int i = 0; i < 3; ++i)
        tie[static_cast<std::size_t>(i)] = {i, ShiftForCapo(i), {}, i == 0 ? 9 : 4, ""};
    EXPECT_EQ(BestCapo(tie), 1);
}

// A row names the shapes as the guitarist plays them: in the key they make,
// in full, each once; its score counts each chord once and no bass note.
TEST(SongOptions, CapoRowsNameTheShapesInTheirKey) {
    const SongOptions guitarist{true, Spelling::AsWritten, false, true};
    struct Case {
        const char* song;
        SongOptions options;
        int capo;
        const char* shapes;
        const char* key;
    };
    const Case cases[] = {
        {"Eb Cm Ab Bb7", {false, Spelling::Flats, false}, 4, "E B G#m F#7", "B"},
        {"Eb Cm Ab Bb7", SongOptions(), 3, "C F Am G7", "C"},
        {"Eb Cm Ab Bb7", SongOptions(), 0, "Eb Ab Cm Bb7", "Eb"},
        {"Am G#dim Asus4 Am Asus4", kAllChords, 5, "Em D#dim Esus4", "Em"},
        {"A Asus4 Am A", kAllChords, 0, "A Am Asus4", "A"},
        {"C/G    Am    C\nHello there my friend\n", guitarist, 7, "F Dm", "F"},
        {"no chords here", SongOptions(), 2, "", ""},
    };
    for (const Case& c : cases) {
        const std::vector<CapoChoice> rows = CapoChoices(Detected(c.song, c.options));
        ASSERT_EQ(rows.size(), 8u);
        const CapoChoice& row = rows[static_cast<std::size_t>(c.capo)];
        std::string shapes;
        for (const std::string& shape : row.shapes)
            shapes += (shapes.empty() ? "" : " ") + shape;
        EXPECT_EQ(shapes, c.shapes) << c.song << " capo " << c.capo;
        EXPECT_EQ(row.key, c.key) << c.song << " capo " << c.capo;
        EXPECT_EQ(row.score, Detected(shapes, kAllChords).GetScore()) << c.song << " capo " << c.capo;
    }
    // How the window and the saved song name a capo; the saved line reads no chords.
    const std::vector<CapoChoice> rows = CapoChoices(Detected("Bb Eb F7", SongOptions()));
    EXPECT_EQ(CapoText(rows[3], "Bb"), "Capo 3: play in G shapes, sounds in Bb");
    EXPECT_EQ(CapoText(rows[0], "Bb"), "No capo: play in Bb");
    EXPECT_EQ(CapoFileLine(rows[0], "Bb"), "");
    const std::string line = CapoFileLine(rows[3], "Bb");
    EXPECT_EQ(line, "Capo 3: shapes in G, sounds in Bb.");
    for (const SongOptions& options : {SongOptions(), kAllChords, guitarist})
        EXPECT_EQ(Detected(line + "\nCapo 2: shapes in Em, sounds in F#m.\n", options).OccurrenceCount(), 0);
}
