#include <ostream>

#include "cli/Commands.h"
#include "cli/SongJob.h"
#include "cli/UsageError.h"

int RunTransposeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                        ISettingsStore* store) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(CliCommand::Transpose, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    CSongJob job(options, err, store);
    if (const int status = job.Prepare(); status != kExitSuccess)
        return status;
    return job.Deliver(job.SavedText(), out);
}
