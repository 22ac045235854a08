#include <ostream>

#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/SongJob.h"
#include "engine/Capo.h"
#include "engine/Tablature.h"

namespace {

std::string CapoJson(const CSongJob& job) {
    const std::vector<CapoChoice> choices = CapoChoices(job.Working());
    std::string json = "{\"capos\": [";
    for (const CapoChoice& choice : choices) {
        if (choice.capo > 0)
            json += ", ";
        json += "{\"capo\": " + std::to_string(choice.capo) + ", \"score\": " + std::to_string(choice.score) +
                ", \"shapes\": [";
        for (std::size_t i = 0; i < choice.shapes.size(); ++i) {
            if (i > 0)
                json += ", ";
            json += JsonString(choice.shapes[i]);
        }
        json += "], \"key\": " + JsonString(choice.key) + "}";
    }
    json += "], \"best\": " + std::to_string(BestCapo(choices)) + "}\n";
    return json;
}

} // namespace

int RunCapoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore* store) {
    // The song is prepared at shift 0: the rows are counted from the song as written.
    return RunSongCommand(CliCommand::Capo, args, out, err, store, [](CSongJob& job) { return CapoJson(job); });
}
