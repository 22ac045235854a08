#include <ostream>

#include "cli/Commands.h"
#include "cli/SongJob.h"
#include "engine/Tablature.h"
#include "render/DisplayPageBuilder.h"

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     ISettingsStore* store) {
    return RunSongCommand(CliCommand::Render, args, out, err, store, [](CSongJob& job) {
        const CliSettings& settings = job.Settings();
        return BuildDisplayPage(job.Working(), job.Added(), settings.highlighted ? &settings.highlight : nullptr,
                                job.PicturePrefix());
    });
}
