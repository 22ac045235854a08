#include <ostream>

#include "cli/Commands.h"
#include "cli/SongJob.h"

int RunTransposeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                        ISettingsStore* store) {
    return RunSongCommand(CliCommand::Transpose, args, out, err, store, [](CSongJob& job) { return job.SavedText(); });
}
