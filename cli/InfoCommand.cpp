#include <ostream>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/SongJob.h"
#include "engine/Tablature.h"

namespace {

std::string InfoJson(const CSongJob& job) {
    const CTablature& song = job.Working();
    std::string json = "{\"shift\": " + std::to_string(job.Shift()) + ", \"score\": " + std::to_string(song.score) +
                       ", \"distinctCount\": " + std::to_string(song.distinctCount) + ", \"distinct\": [";
    for (int i = 0; i < song.distinctCount; ++i) {
        if (i > 0)
            json += ", ";
        json += JsonString(song.distinctChords[static_cast<std::size_t>(i)].GetName());
    }
    // Read as chord lines, or written in lower case (G/b), a slash chord's
    // bass note is no chord: it is listed on its own, after the chords.
    bool apart = song.Options().chordLines;
    for (int i = 0; !apart && i < song.OccurrenceCount(); ++i)
        apart = song.IsBassAt(i);
    const auto list = [&](bool bass) {
        std::string items;
        for (int i = 0; i < song.OccurrenceCount(); ++i) {
            if (apart && (song.IsBassAt(i) != bass || song.IsFingeringAt(i)))
                continue;
            // No chord can stand in the title line or the header: both hold no
            // delimited chord name. The offset is into the song as Save writes it.
            const std::size_t offset = job.SavedOffset(song.PositionAt(i));
            items += std::string(items.empty() ? "" : ", ") + "{\"name\": " + JsonString(song.NameAt(i)) +
                     ", \"offset\": " + std::to_string(offset) + "}";
        }
        return items;
    };
    int count = song.OccurrenceCount();
    for (int i = 0; apart && i < song.OccurrenceCount(); ++i)
        count -= song.IsBassAt(i) || song.IsFingeringAt(i) ? 1 : 0;
    json += "], \"count\": " + std::to_string(count) + ", \"occurrences\": [" + list(false);
    if (apart)
        json += "], \"bass\": [" + list(true);
    json += "], \"untouched\": [";
    // Left as written as well: the legends whose fingering cannot move to the shift.
    std::vector<std::string> untouched = song.UntouchedNames();
    untouched.insert(untouched.end(), song.LegendsLeftAsWritten().begin(), song.LegendsLeftAsWritten().end());
    for (std::size_t i = 0; i < untouched.size(); ++i) {
        if (i > 0)
            json += ", ";
        json += JsonString(untouched[i]);
    }
    const std::string key = song.Key();
    json += "], \"key\": " + (key.empty() ? std::string("null") : JsonString(key)) + "}\n";
    return json;
}

} // namespace

int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore* store) {
    return RunSongCommand(CliCommand::Info, args, out, err, store, [](CSongJob& job) { return InfoJson(job); });
}
