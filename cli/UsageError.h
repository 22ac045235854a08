#pragma once

#include <iosfwd>
#include <string>

/// Shows a usage error as one line followed by the usage on err and returns
/// the usage exit status.
int ReportUsageError(std::ostream& err, const std::string& message);
