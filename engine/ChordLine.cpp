#include "engine/ChordLine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

#include "base/TextHelpers.h"
#include "chords/ByteClass.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The marks a sheet writes around and between chords, by where they stand.
constexpr ByteClass kMarkOnly = MakeByteClass("|:/.-%*~>");
constexpr ByteClass kMarkBefore = MakeByteClass("([{|:.*");
constexpr ByteClass kMarkAfter = MakeByteClass(")]}|:.,;?!*");
constexpr ByteClass kBeat = MakeByteClass(":.");

bool Is(const ByteClass& marks, char c) {
    return marks[static_cast<unsigned char>(c)] != 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One blank-separated word of the line.
struct Word {
    std::size_t begin = 0;
    std::size_t end = 0;
};

enum class Kind { Mark, Chord, Fingering, Other };

// x2, 2x, X4, x12: how often a bar or a line is played.
bool IsRepeat(std::string_view text) {
    if (text.size() < 2 || text.size() > 4)
        return false;
    const bool before = text.front() == 'x' || text.front() == 'X';
    const bool after = text.back() == 'x' || text.back() == 'X';
    if (before == after)
        return false;
    const std::string_view digits = before ? text.substr(1) : text.substr(0, text.size() - 1);
    for (const char c : digits) {
        if (!IsDigit(c))
            return false;
    }
    return true;
}

bool IsNoChord(std::string_view text) {
    // n.c., nc, n.c, n/c in any case, without a copy: it is asked of every word.
    if (text.empty() || (text[0] != 'n' && text[0] != 'N'))
        return false;
    const auto is = [&](std::string_view word) {
        if (text.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(text[i])) != word[i])
                return false;
        }
        return true;
    };
    return is("n.c.") || is("n.c") || is("nc") || is("n/c");
}

// A word made of marks only: bar lines, beats, repeat signs.
bool IsMarksOnly(std::string_view text) {
    for (const char c : text) {
        if (!Is(kMarkOnly, c))
            return false;
    }
    return true;
}

// A bass note as a sheet writes it: a letter, in either case, and a sharp
// or a flat, which the song's own grammar reads as a chord when upper case.
bool IsBassNote(std::string_view text, const std::function<bool(std::string_view)>& isChordName) {
    if (text.empty() || text.size() > 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    if (text.size() == 2 && text[1] != '#' && text[1] != 'b')
        return false;
    std::string upper(text);
    upper[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[0])));
    return isChordName(upper);
}

} // namespace

bool IsRepeatOrNoChord(std::string_view word) {
    return IsRepeat(word) || IsNoChord(word);
}

bool IsFingering(std::string_view text) {
    // Six strings: six characters of x and 0-9, or six fret words apart.
    // Asked of every word of every line: most words go at their first byte.
    if (text.empty() || !(IsDigit(text[0]) || text[0] == 'x' || text[0] == 'X' || IsBlank(text[0])))
        return false;
    std::array<std::string_view, 6> frets;
    std::size_t fretCount = 0;
    bool separated = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '-' && !IsBlank(text[i]))
            continue;
        if (i > start) {
            if (fretCount == frets.size())
                return false;
            frets[fretCount++] = text.substr(start, i - start);
        } else if (i < text.size() && text[i] == '-') {
            return false;
        }
        separated = separated || i < text.size();
        start = i + 1;
    }
    const auto isFret = [](std::string_view fret, bool wide) {
        if (fret == "x" || fret == "X")
            return true;
        if (fret.empty() || fret.size() > (wide ? 2 : 1))
            return false;
        for (const char c : fret) {
            if (!IsDigit(c))
                return false;
        }
        return !wide || (fret.size() == 1 ? fret[0] - '0' : (fret[0] - '0') * 10 + fret[1] - '0') <= 24;
    };
    if (!separated) {
        if (text.size() != 6)
            return false;
        int played = 0;
        for (const char c : text) {
            if (!isFret(std::string_view(&c, 1), false))
                return false;
            played += IsDigit(c) ? 1 : 0;
        }
        return played > 0;
    }
    if (fretCount != frets.size())
        return false;
    for (const std::string_view fret : frets) {
        if (!isFret(fret, true))
            return false;
    }
    return true;
}

namespace {

// Reads one column of a line.
// Reads one column of a line into reading, after what it holds; what the
// column added goes again when it is no chord line. Returns whether it is.
bool ReadColumn(std::string_view line, std::size_t from, std::size_t to,
                const std::function<bool(std::string_view)>& isChordName, ChordLineReading& reading) {
    // Reused from line to line: a songbook has tens of thousands.
    thread_local std::vector<Word> words;
    words.clear();
    for (std::size_t i = from; i < to;) {
        while (i < to && IsBlank(line[i]))
            ++i;
        const std::size_t begin = i;
        while (i < to && !IsBlank(line[i]))
            ++i;
        if (i == begin)
            continue;
        // A fingering in parentheses with something glued after it,
        // "(x20102)?or", is two words.
        const std::size_t close = line[begin] == '(' ? line.substr(begin, i - begin).find(')') : std::string_view::npos;
        if (close != std::string_view::npos && begin + close + 1 < i &&
            IsFingering(line.substr(begin + 1, close - 1))) {
            words.push_back({begin, begin + close + 1});
            words.push_back({begin + close + 1, i});
        } else {
            words.push_back({begin, i});
        }
    }

    const std::size_t chordsBefore = reading.chords.size();
    const std::size_t bassesBefore = reading.basses.size();
    const std::size_t fingeringsBefore = reading.fingerings.size();
    int chords = 0;
    int others = 0;
    // The last word that was a fingering: "or" after one ("(x02220) or
    // (x02223)") offers another and counts for nothing.
    std::size_t lastFingering = words.size();
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::string_view raw = line.substr(words[w].begin, words[w].end - words[w].begin);
        // A group in parentheses over several words: a fingering written
        // with blanks, or a short direction such as "(to coda)".
        if (raw.front() == '(' && raw.back() != ')') {
            std::size_t last = w + 1;
            while (last < words.size() && last <= w + 6 && line[words[last].end - 1] != ')')
                ++last;
            if (last < words.size() && last <= w + 6) {
                const std::size_t inside = words[w].begin + 1;
                const std::string_view group = line.substr(inside, words[last].end - 1 - inside);
                if (IsFingering(group)) {
                    reading.fingerings.push_back({inside, group.size()});
                    w = last;
                    lastFingering = w;
                    continue;
                }
                bool anyChord = false;
                for (std::size_t k = w; k <= last && !anyChord; ++k) {
                    std::string_view part = line.substr(words[k].begin, words[k].end - words[k].begin);
                    while (!part.empty() && part.front() == '(')
                        part.remove_prefix(1);
                    while (!part.empty() && part.back() == ')')
                        part.remove_suffix(1);
                    anyChord = !part.empty() && isChordName(part);
                }
                if (!anyChord && last - w <= 2) {
                    w = last;
                    continue;
                }
            }
        }

        // The word without what a sheet puts around a chord.
        std::size_t begin = words[w].begin;
        std::size_t end = words[w].end;
        // A closing parenthesis stays when it closes one the word opened:
        // C(maj7), C(/E).
        int open = 0;
        for (std::size_t i = begin; i < end; ++i)
            open += line[i] == '(' ? 1 : line[i] == ')' ? -1 : 0;
        while (begin < end && Is(kMarkBefore, line[begin])) {
            open -= line[begin] == '(' ? 1 : 0;
            ++begin;
        }
        while (end > begin && Is(kMarkAfter, line[end - 1]) && (line[end - 1] != ')' || open < 0)) {
            open += line[end - 1] == ')' ? 1 : 0;
            --end;
        }
        const std::string_view core = line.substr(begin, end - begin);
        if (core.empty() || IsMarksOnly(raw) || IsRepeat(core) || IsNoChord(raw) || IsNoChord(core))
            continue;
        if (IsFingering(core)) {
            reading.fingerings.push_back({begin, core.size()});
            lastFingering = w;
            continue;
        }
        if (lastFingering + 1 == w && core.size() == 2 && std::tolower(static_cast<unsigned char>(core[0])) == 'o' &&
            std::tolower(static_cast<unsigned char>(core[1])) == 'r') {
            lastFingering = w;
            continue;
        }
        // A label that opens the line: "Intro:", "Chorus:".
        if (w == 0 && raw.back() == ':' && raw.size() > 1 && !isChordName(core)) {
            continue;
        }
        // Bar lines and beats between names: G|C, Bb|F, .D. The word's names
        // go into the reading, and out again unless every part is one.
        const std::size_t wordChords = reading.chords.size();
        const std::size_t wordBasses = reading.basses.size();
        bool allNames = true;
        for (std::size_t pos = begin; pos <= end && allNames;) {
            std::size_t stop = pos;
            while (stop < end && line[stop] != '|')
                ++stop;
            std::size_t a = pos;
            std::size_t b = stop;
            while (a < b && Is(kBeat, line[a]))
                ++a;
            while (b > a && Is(kBeat, line[b - 1]))
                --b;
            if (b > a) {
                const std::string_view name = line.substr(a, b - a);
                const std::size_t slash = name.rfind('/');
                std::size_t chordEnd = slash;
                std::string_view bass;
                if (slash != std::string_view::npos) {
                    bass = name.substr(slash + 1);
                    // The bass alone in parentheses: C(/E).
                    if (slash > 0 && name[slash - 1] == '(') {
                        --chordEnd;
                        bass =
                            bass.empty() || bass.back() != ')' ? std::string_view() : bass.substr(0, bass.size() - 1);
                    }
                }
                if (isChordName(name)) {
                    reading.chords.push_back({a, b - a});
                } else if (slash != std::string_view::npos && chordEnd > 0 && isChordName(name.substr(0, chordEnd)) &&
                           IsBassNote(bass, isChordName)) {
                    reading.chords.push_back({a, chordEnd});
                    reading.basses.push_back({a + slash + 1, bass.size()});
                } else {
                    allNames = false;
                }
            }
            pos = stop + 1;
        }
        if (allNames && reading.chords.size() > wordChords) {
            chords += static_cast<int>(reading.chords.size() - wordChords);
        } else {
            reading.chords.resize(wordChords);
            reading.basses.resize(wordBasses);
            ++others;
        }
    }
    // Fingerings speak for the line as its chords do: a legend such as
    // "G (320003) or (355433)" is a chord line, and a column of fingerings,
    // "or" between them, belongs to the chord left of it ("A       (x02220)").
    const int fingerings = static_cast<int>(reading.fingerings.size() - fingeringsBefore);
    const bool isChordLine = chords > 0
                                 ? others < chords + fingerings && others <= std::max({2, chords / 3, fingerings})
                                 : fingerings > others;
    if (!isChordLine) {
        reading.chords.resize(chordsBefore);
        reading.basses.resize(bassesBefore);
        reading.fingerings.resize(fingeringsBefore);
    }
    return isChordLine;
}

} // namespace

void ReadChordLine(std::string_view line, const std::function<bool(std::string_view)>& isChordName,
                   ChordLineReading& reading) {
    // A sheet in two columns holds chords on the left and another verse or
    // translation on the right of the same line; a wide gap parts them, and
    // each column is read on its own.
    constexpr std::size_t kColumnGap = kChordColumnGap;
    reading.isChordLine = false;
    reading.chords.clear();
    reading.basses.clear();
    reading.fingerings.clear();
    std::size_t from = 0;
    while (from < line.size()) {
        std::size_t to = from;
        std::size_t blanks = 0;
        while (to < line.size() && blanks < kColumnGap) {
            blanks = IsBlank(line[to]) ? blanks + (line[to] == '\t' ? kColumnGap : 1) : 0;
            ++to;
        }
        if (ReadColumn(line, from, to, isChordName, reading))
            reading.isChordLine = true;
        from = to;
    }
}

ChordLineReading ReadChordLine(std::string_view line, const std::function<bool(std::string_view)>& isChordName) {
    ChordLineReading reading;
    ReadChordLine(line, isChordName, reading);
    return reading;
}

namespace {

// The chord name that is exactly text, as the rules take it.
std::optional<ChordMatch> ExactName(std::string_view text, const ChordRules& rules) {
    std::optional<ChordMatch> match = ChordName::Read(text, rules.allChords, rules.notation, rules.allForms);
    if (match && match->length != text.size())
        return std::nullopt;
    return match;
}

// A bass note as its major chord, the case it is written in kept aside.
// With every chord name it may be written E#, B#, Fb or Cb.
std::optional<ChordMatch> BassNote(std::string_view text, const ChordRules& rules) {
    std::string upper(text);
    const bool lower = !upper.empty() && upper[0] >= 'a' && upper[0] <= 'z';
    if (lower)
        upper[0] = static_cast<char>(upper[0] - 'a' + 'A');
    std::optional<ChordMatch> match = ChordName::Read(upper, rules.allChords, rules.notation, rules.allForms);
    if (!match || match->length != text.size() || match->length != match->rootLength || match->Quality() != Major)
        return std::nullopt;
    match->extended = false;
    match->bass = true;
    match->lowerCase = lower;
    return match;
}

// Blanks the tags and entities of one line of an HTML song, byte for byte;
// inTag carries a tag open at the line's end to the next line.
void BlankMarkup(std::string& line, bool& inTag) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (inTag || line[i] == '<') {
            inTag = line[i] != '>';
            line[i] = ' ';
        } else if (line[i] == '&') {
            std::size_t end = i + 1;
            while (end < line.size() && end < i + 10 &&
                   (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '#'))
                ++end;
            if (end < line.size() && line[end] == ';' && end > i + 1) {
                for (; i <= end; ++i)
                    line[i] = ' ';
                --i;
            }
        }
    }
}

// The names written in brackets on a line that is no chord line: [G]Amazing.
void BracketedNames(std::string_view line, std::size_t offset, const ChordRules& rules,
                    const std::function<void(std::size_t, const ChordMatch&)>& onChord) {
    for (std::size_t open = line.find('['); open != std::string_view::npos; open = line.find('[', open + 1)) {
        const std::size_t close = line.find(']', open + 1);
        if (close == std::string_view::npos)
            return;
        ReadBracketedChord(line.substr(open + 1, close - open - 1), offset + open + 1, rules, onChord);
    }
}

} // namespace

bool ReadBracketedChord(std::string_view inside, std::size_t at, const ChordRules& rules,
                        const std::function<void(std::size_t, const ChordMatch&)>& onChord) {
    const std::size_t slash = inside.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? inside : inside.substr(0, slash);
    const std::optional<ChordMatch> chord = ExactName(name, rules);
    if (!chord)
        return false;
    std::optional<ChordMatch> bass;
    if (slash != std::string_view::npos && !(bass = BassNote(inside.substr(slash + 1), rules)))
        return false;
    onChord(at, *chord);
    if (bass)
        onChord(at + slash + 1, *bass);
    return true;
}

bool IsLineChordName(std::string_view word, const ChordRules& rules) {
    return ChordName::Read(word, true, rules.notation, rules.allChords && rules.allForms).has_value();
}

void ScanChordLines(std::string_view text, const ChordRules& rules,
                    const std::function<void(std::size_t, const ChordMatch&)>& onChord) {
    // What opening put around the song is read as if it were not there: the
    // song's first line is a line from its first byte, however the page
    // header before it ends.
    const std::size_t before = std::min(rules.addedBefore, text.size());
    const std::size_t after = std::min(rules.addedAfter, text.size() - before);
    if (before > 0 || after > 0) {
        ChordRules own = rules;
        own.addedBefore = 0;
        own.addedAfter = 0;
        ScanChordLines(text.substr(before, text.size() - before - after), own,
                       [&onChord, before](std::size_t pos, const ChordMatch& match) { onChord(before + pos, match); });
        return;
    }
    const std::function<bool(std::string_view)> isWideChordName = [&rules](std::string_view word) {
        return IsLineChordName(word, rules);
    };
    std::string blanked;
    bool inTag = false;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = FindLineEnd(text, start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (rules.html) {
            blanked.assign(line);
            BlankMarkup(blanked, inTag);
            line = blanked;
        }
        thread_local ChordLineReading reading;
        ReadChordLine(line, isWideChordName, reading);
        if (reading.isChordLine) {
            // Names, bass notes and fingerings in line order; a fingering
            // moves only after a name that moves.
            enum Kind { Name, Bass, Fingering };
            thread_local std::vector<std::pair<LineSpan, Kind>> found;
            found.clear();
            for (const LineSpan& span : reading.chords)
                found.push_back({span, Name});
            for (const LineSpan& span : reading.basses)
                found.push_back({span, Bass});
            for (const LineSpan& span : reading.fingerings)
                found.push_back({span, Fingering});
            std::sort(found.begin(), found.end(),
                      [](const auto& a, const auto& b) { return a.first.offset < b.first.offset; });
            bool nameMoves = false;
            for (const auto& [span, kind] : found) {
                const std::string_view word = line.substr(span.offset, span.length);
                std::optional<ChordMatch> match;
                if (kind == Name) {
                    match = ExactName(word, rules);
                    nameMoves = match.has_value();
                } else if (kind == Bass) {
                    match = BassNote(word, rules);
                } else if (nameMoves) {
                    match = ChordMatch();
                    match->length = span.length;
                    match->fingering = true;
                }
                if (match)
                    onChord(start + span.offset, *match);
            }
        } else {
            BracketedNames(line, start, rules, onChord);
        }
        if (end == text.size())
            break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

namespace {

// Whether a hand cannot hold the frets, low E string first, -1 muted and 0
// open: the fretted strings span more than four frets, or take more than
// four fingers, one of which may bar the strings of one fret.
bool NeedsMoreThanAHand(const std::vector<int>& frets) {
    constexpr int kFingers = 4;
    int lowest = 99;
    int highest = 0;
    int strings = 0;
    for (const int fret : frets) {
        if (fret > 0) {
            lowest = std::min(lowest, fret);
            highest = std::max(highest, fret);
            ++strings;
        }
    }
    if (strings == 0)
        return false;
    if (highest - lowest >= kFingers)
        return true;
    // One finger bars the strings of one fret in a run of strings none of
    // which is played lower.
    int barred = 0;
    for (int barre = lowest; barre <= highest; ++barre) {
        int run = 0;
        for (const int fret : frets) {
            run = fret < barre ? 0 : run + (fret == barre ? 1 : 0);
            barred = std::max(barred, run - 1);
        }
    }
    return strings - barred > kFingers;
}

} // namespace

std::string MoveFingering(std::string_view written, int shift) {
    if (!IsFingering(written))
        return std::string();
    // The strings as written, and what parts them.
    std::vector<std::string_view> strings;
    char separator = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= written.size(); ++i) {
        if (i < written.size() && written[i] != '-' && !IsBlank(written[i]))
            continue;
        if (i > start)
            strings.push_back(written.substr(start, i - start));
        if (i < written.size())
            separator = written[i];
        start = i + 1;
    }
    if (separator == 0) {
        strings.clear();
        for (std::size_t i = 0; i < written.size(); ++i)
            strings.push_back(written.substr(i, 1));
    }
    std::vector<int> frets;
    int lowest = 99;
    int highest = -1;
    for (const std::string_view string : strings) {
        const int fret = string == "x" || string == "X" ? -1 : std::stoi(std::string(string)) + shift;
        frets.push_back(fret);
        if (string != "x" && string != "X") {
            lowest = std::min(lowest, fret);
            highest = std::max(highest, fret);
        }
    }
    const int octave = lowest < 0 ? 12 : 0;
    if (highest + octave > 24)
        return std::string();
    // Open strings the move frets may ask more of the hand than the shape
    // as written did; such a shape is no fingering of the moved chord.
    std::vector<int> before;
    std::vector<int> after;
    for (std::size_t i = 0; i < frets.size(); ++i) {
        const bool muted = strings[i] == "x" || strings[i] == "X";
        before.push_back(muted ? -1 : frets[i] - shift);
        after.push_back(muted ? -1 : frets[i] + octave);
    }
    if (NeedsMoreThanAHand(after) && !NeedsMoreThanAHand(before))
        return std::string();
    std::string moved;
    const bool compact = separator == 0 && highest + octave <= 9;
    for (std::size_t i = 0; i < frets.size(); ++i) {
        if (i > 0 && !compact)
            moved += separator == 0 ? '-' : separator;
        moved += frets[i] < 0 && strings[i].size() == 1 && (strings[i][0] == 'x' || strings[i][0] == 'X')
                     ? std::string(strings[i])
                     : std::to_string(frets[i] + octave);
    }
    return moved;
}
