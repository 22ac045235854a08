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
    for (const CliCommandRow& command : CliCommandTable()) {
        if (name == command.name)
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err, store);
    }
    return ReportUsageError(err, "unknown command '" + name + "'");
}
