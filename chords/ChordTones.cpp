#include "chords/ChordTones.h"

#include <cstddef>

namespace {

// Half-tones above the root.
constexpr int kMinorThird = 3;
constexpr int kMajorThird = 4;
constexpr int kSecond = 2;
constexpr int kFourth = 5;
constexpr int kFlatFifth = 6;
constexpr int kFifth = 7;
constexpr int kSharpFifth = 8;
constexpr int kSixth = 9;
constexpr int kDiminishedSeventh = 9;
constexpr int kMinorSeventh = 10;
constexpr int kMajorSeventh = 11;

// A chord name read part by part: the triad of its quality, then what each
// number, "sus", "add", alteration or bracket changes.
class CSuffixReader final {
public:
    explicit CSuffixReader(const std::string& text) : m_text(text) {}

    bool Read() {
        ReadQuality();
        return ReadParts(m_text.size(), false) && m_pos == m_text.size();
    }

    // Relative to the root: every note, and the ones a fingering must sound.
    unsigned Tones() const { return Essential() | m_optional | (m_fifth >= 0 ? PitchBit(m_fifth) : 0u); }

    unsigned Essential() const {
        unsigned essential = PitchBit(0) | m_added;
        if (m_third >= 0)
            essential |= PitchBit(m_third);
        if (m_sus2)
            essential |= PitchBit(kSecond);
        if (m_sus4)
            essential |= PitchBit(kFourth);
        // A perfect fifth adds little: a hand short of fingers leaves it out,
        // unless it is all a power chord has.
        if (m_fifth >= 0 && (m_fifth != kFifth || m_power))
            essential |= PitchBit(m_fifth);
        if (m_seventh >= 0)
            essential |= PitchBit(m_seventh);
        return essential;
    }

private:
    bool Has(const char* word) const { return m_text.compare(m_pos, std::char_traits<char>::length(word), word) == 0; }

    bool Take(const char* word) {
        if (!Has(word))
            return false;
        m_pos += std::char_traits<char>::length(word);
        return true;
    }

    void ReadQuality() {
        // "maj" before "m", so that "maj7" is not read as minor; "-" is
        // minor as well (E-, A-7), and so are German "mi" and "moll".
        if (Take("maj") || Take("Maj") || Take("M")) {
            m_major = true;
        } else if (Take("min") || Take("moll") || Take("mi") || Take("m") || Take("-")) {
            m_third = kMinorThird;
        } else if (Take("dim")) {
            m_third = kMinorThird;
            m_fifth = kFlatFifth;
            m_diminished = true;
        } else if (Take("aug") || Take("+")) {
            m_fifth = kSharpFifth;
        }
    }

    // The number at the reading place, or -1 when none starts there.
    int TakeNumber() {
        int value = -1;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            value = (value < 0 ? 0 : value * 10) + (m_text[m_pos] - '0');
            if (value > 99)
                return -1;
            ++m_pos;
        }
        return value;
    }

    void Add(int interval) { m_added |= PitchBit(interval); }

    bool SetSeventh(int seventh, int extension) {
        m_seventh = seventh;
        switch (extension) {
        case 7:
            return true;
        case 9:
            Add(kSecond);
            return true;
        case 11:
            // An eleventh stacks the ninth under it.
            m_optional |= PitchBit(kSecond);
            Add(kFourth);
            return true;
        case 13:
            m_optional |= PitchBit(kSecond);
            Add(kSixth);
            return true;
        default:
            return false;
        }
    }

    int SeventhOfQuality() const {
        if (m_major)
            return kMajorSeventh;
        return m_diminished ? kDiminishedSeventh : kMinorSeventh;
    }

    // A number on its own: "6", "69", "7", "9", "11", "13", "5" (power
    // chord), "2" and "4" (added second, suspended fourth). In brackets a
    // ninth, eleventh or thirteenth is only added, as in "Em(9)".
    bool ReadNumber(int number, bool inBrackets) {
        switch (number) {
        case 2:
            Add(kSecond);
            return true;
        case 4:
            return Suspend(kFourth);
        case 5:
            m_power = true;
            m_third = -1;
            return true;
        case 6:
            Add(kSixth);
            return true;
        case 69:
            Add(kSixth);
            Add(kSecond);
            return true;
        default:
            break;
        }
        if (inBrackets && number != 7)
            return ReadAdded(number);
        return SetSeventh(SeventhOfQuality(), number);
    }

    bool ReadAdded(int number) {
        switch (number) {
        case 2:
        case 9:
            Add(kSecond);
            return true;
        case 4:
        case 11:
            Add(kFourth);
            return true;
        case 6:
        case 13:
            Add(kSixth);
            return true;
        default:
            return false;
        }
    }

    bool ReadAlteration(bool sharp, int number) {
        switch (number) {
        case 5:
            m_fifth = sharp ? kSharpFifth : kFlatFifth;
            return true;
        case 9:
            Add(sharp ? kMinorThird : 1);
            return true;
        case 11:
            if (!sharp)
                return false;
            Add(kFlatFifth);
            return true;
        case 13:
        case 6:
            if (sharp)
                return false;
            Add(kSharpFifth);
            return true;
        default:
            return false;
        }
    }

    // A sharp written after a number: C5# (the fifth raised), E7# and F9#
    // (the ninth raised), C11# (the eleventh raised). A plus there raises
    // the fifth: E7+.
    bool ReadRaisedAfter(int number, std::size_t end) {
        if (m_pos >= end || (m_text[m_pos] != '#' && m_text[m_pos] != '+'))
            return true;
        if (m_pos + 1 < end && m_text[m_pos + 1] >= '0' && m_text[m_pos + 1] <= '9')
            return true;
        if (m_text[m_pos++] == '+') {
            m_fifth = kSharpFifth;
            return true;
        }
        switch (number) {
        case 5:
            m_fifth = kSharpFifth;
            return true;
        case 7:
        case 9:
            // E7# and F9# both mean the sharp ninth over the seventh.
            m_added &= ~PitchBit(kSecond);
            Add(kMinorThird);
            return true;
        case 11:
            m_added &= ~PitchBit(kFourth);
            Add(kFlatFifth);
            return true;
        default:
            return false;
        }
    }

    // An altered dominant: a seventh with a raised fifth and ninth, the
    // flat ninth left to the hand.
    bool ReadAltered() {
        if (m_seventh < 0)
            m_seventh = kMinorSeventh;
        m_fifth = kSharpFifth;
        Add(kMinorThird);
        m_optional |= PitchBit(1);
        return true;
    }

    bool Suspend(int interval) {
        m_third = -1;
        (interval == kSecond ? m_sus2 : m_sus4) = true;
        return true;
    }

    bool ReadSus() {
        const int number = TakeNumber();
        switch (number) {
        case -1:
        case 4:
            return Suspend(kFourth);
        case 2:
            return Suspend(kSecond);
        case 24:
            return Suspend(kSecond) && Suspend(kFourth);
        default:
            return false;
        }
    }

    bool ReadParts(std::size_t end, bool inBrackets) {
        while (m_pos < end) {
            const char c = m_text[m_pos];
            bool ok = false;
            if (c >= '0' && c <= '9') {
                const int number = TakeNumber();
                ok = ReadNumber(number, inBrackets) && ReadRaisedAfter(number, end);
            } else if (Take("sus")) {
                ok = ReadSus();
            } else if (Take("alt")) {
                ok = ReadAltered();
            } else if (Take("add")) {
                const char sign = m_pos < end ? m_text[m_pos] : '\0';
                if (sign == 'b' || sign == '#' || sign == '+' || sign == '-') {
                    ++m_pos;
                    ok = ReadAlteration(sign == '#' || sign == '+', TakeNumber());
                } else {
                    ok = ReadAdded(TakeNumber());
                }
            } else if (c == 'M' && !Has("Maj")) {
                // mM7: the major seventh over a minor triad.
                ++m_pos;
                const int number = TakeNumber();
                ok = number == 7 || number == 9 || number == 11 || number == 13 ? SetSeventh(kMajorSeventh, number)
                                                                                : false;
            } else if (c == '-' && m_text.compare(m_pos + 1, 3, "maj") == 0) {
                // Dm-maj7
                ++m_pos;
                ok = true;
            } else if (Take("maj") || Take("Maj")) {
                const int number = TakeNumber();
                ok = number == 7 || number == 9 || number == 11 || number == 13 ? SetSeventh(kMajorSeventh, number)
                                                                                : false;
            } else if (c == 'b' || c == '#' || c == '+' || c == '-') {
                // Bm7-5, A7+5: "-" lowers and "+" raises as "b" and "#" do.
                ++m_pos;
                ok = ReadAlteration(c == '#' || c == '+', TakeNumber());
            } else if (inBrackets && c == 'm' && m_pos + 1 == end && m_third == kMajorThird) {
                // A(m): the minor third a sheet leaves to the player; the picture shows it.
                ++m_pos;
                m_third = kMinorThird;
                ok = true;
            } else if (c == '(' && !inBrackets) {
                const std::size_t close = m_text.find(')', m_pos);
                if (close == std::string::npos)
                    return false;
                ++m_pos;
                ok = ReadParts(close, true) && m_pos == close;
                ++m_pos;
            }
            if (!ok)
                return false;
        }
        return true;
    }

    const std::string& m_text;
    std::size_t m_pos = 0;
    int m_third = kMajorThird;
    int m_fifth = kFifth;
    int m_seventh = -1;
    bool m_sus2 = false;
    bool m_sus4 = false;
    bool m_major = false;
    bool m_diminished = false;
    bool m_power = false;
    // Relative to the root: notes added by the name, and the ninth an
    // eleventh or thirteenth brings, which the hand may drop.
    unsigned m_added = 0;
    unsigned m_optional = 0;
};

unsigned Transposed(unsigned relative, int root) {
    unsigned moved = 0;
    for (int i = 0; i < 12; ++i) {
        if (relative & PitchBit(i))
            moved |= PitchBit(root + i);
    }
    return moved;
}

} // namespace

std::optional<ChordTones> ChordTonesOf(int root, const std::string& suffix, std::optional<int> bass) {
    if (root < 0 || root > 11 || (bass && (*bass < 0 || *bass > 11)))
        return std::nullopt;
    CSuffixReader reader(suffix);
    if (!reader.Read())
        return std::nullopt;
    ChordTones chord;
    chord.root = root;
    chord.bass = bass.value_or(root);
    chord.tones = Transposed(reader.Tones(), root) | PitchBit(chord.bass);
    chord.essential = Transposed(reader.Essential(), root) | PitchBit(chord.bass);
    return chord;
}
