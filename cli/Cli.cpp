#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/UsageError.h"

int RunQuavernCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore* store) {
    if (args.empty())
        return ReportUsageError(err, "missing command");
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        out << HelpText();
        return kExitSuccess;
    }
    if (name == "--version") {
        out << "quavern-cli " QUAVERN_VERSION "\n";
        return kExitSuccess;
    }
    const std::optional<CliCommand> command = CommandOfName(name);
    if (!command)
        return ReportUsageError(err, "unknown command '" + name + "'");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    switch (*command) {
    case CliCommand::Info:
        return RunInfoCommand(rest, out, err, store);
    case CliCommand::Transpose:
        return RunTransposeCommand(rest, out, err, store);
    case CliCommand::Render:
        return RunRenderCommand(rest, out, err, store);
    case CliCommand::Capo:
        return RunCapoCommand(rest, out, err, store);
    }
    return kExitUsage;
}
