#pragma once

#include <string>

#include <QString>

#include "document/QuavernDoc.h"

/// The start page "Start.htm" in the folder, or an empty string (the user
/// was told) when its path is too long for the program.
QString StartPagePathIn(const QString& folder);

/// The start page as the song to show: at start-up with its title line, at
/// the help command as it stands, not counted as a save. A start page that
/// cannot be read is first written again with a welcome text.
CQuavernDoc::NewPage ReadStartPage(const QString& path, bool atHelp);
