#include <ostream>

#include "cli/Commands.h"
#include "cli/SongJob.h"
#include "cli/UsageError.h"
#include "engine/Tablature.h"
#include "render/Highlight.h"

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     ISettingsStore* store) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(CliCommand::Render, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    CSongJob job(options, err, store);
    if (const int status = job.Prepare(); status != kExitSuccess)
        return status;
    const CliSettings& settings = job.Settings();
    return job.Deliver(RenderDisplayPage(job.Working(), settings.highlighted, settings.highlight), out);
}
