#include <optional>
#include <ostream>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "chords/Voicing.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/UsageError.h"

namespace {

// The pitch class of the longest root spelling the text starts with, as a
// song spells roots (no B#, Cb, E# or Fb), and its length.
std::optional<int> ReadRoot(const std::string& text, std::size_t& length) {
    static const int kLetterTones[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    std::optional<int> root;
    length = 0;
    for (const std::string& spelling : rootSpellings) {
        if (spelling.size() > length && text.compare(0, spelling.size(), spelling) == 0) {
            const int accidental = spelling.size() == 1 ? 0 : spelling[1] == '#' ? 1 : -1;
            root = (kLetterTones[spelling[0] - 'A'] + accidental + 12) % 12;
            length = spelling.size();
        }
    }
    return root;
}

// Root, suffix and an optional bass after a slash: "D/F#", "Bm7b5".
std::optional<ChordTones> ReadChordName(const std::string& name) {
    std::size_t rootLength = 0;
    const std::optional<int> root = ReadRoot(name, rootLength);
    if (!root)
        return std::nullopt;
    const std::size_t slash = name.find('/', rootLength);
    std::optional<int> bass;
    if (slash != std::string::npos) {
        std::size_t bassLength = 0;
        const std::string bassName = name.substr(slash + 1);
        bass = ReadRoot(bassName, bassLength);
        if (!bass || bassLength != bassName.size())
            return std::nullopt;
    }
    return ChordTonesOf(*root, name.substr(rootLength, slash - rootLength), bass);
}

} // namespace

int RunChordCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore*) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(CliCommand::Chord, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    const std::string& name = options.filePath;
    // The table's chords keep the fingering their pictures show.
    if (const CChord* chord = theChordCatalog.Find(name)) {
        out << FingeringText(VoicingOfChord(*chord)) << '\n';
        return kExitSuccess;
    }
    const std::optional<ChordTones> chord = ReadChordName(name);
    if (!chord)
        return ReportUsageError(err, "unknown chord name '" + name + "'");
    const std::vector<Voicing> voicings = FindVoicings(*chord);
    if (voicings.empty()) {
        err << "quavern-cli: no playable fingering for '" << name << "'\n";
        return kExitFailure;
    }
    out << FingeringText(voicings.front()) << '\n';
    return kExitSuccess;
}
