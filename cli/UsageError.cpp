#include "cli/UsageError.h"

#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"

int ReportUsageError(std::ostream& err, const std::string& message) {
    err << "quavern-cli: " << message << '\n' << UsageText() << "Run 'quavern-cli --help' for details.\n";
    err.flush();
    return kExitUsage;
}
