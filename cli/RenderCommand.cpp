#include <ostream>

#include "cli/Commands.h"
#include "cli/SongJob.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     ISettingsStore* store) {
    return RunSongCommand(CliCommand::Render, args, out, err, store, [](CSongJob& job) {
        const CliSettings& settings = job.Settings();
        return RenderDisplayPage(job.Working(), settings.highlighted, settings.highlight, job.PicturePrefix());
    });
}
