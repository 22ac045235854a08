#pragma once

#include <string>

#include <QString>

#include "document/QuavernDoc.h"

/// The start page "Start.htm" in the folder, or an empty string (the user
/// was told) when its path is too long for the program.
QString StartPagePathIn(const QString& folder);

/// Gives the user's folder its own start page at path on first use: a copy
/// of the shipped one, the folder made first. A start page already there is
/// kept as it is; with no shipped page to copy, reading the start page
/// writes the welcome text instead.
void CopyStartPageOnFirstUse(const QString& shippedPath, const QString& path);

/// The start page as the song to show: at start-up with its title line, at
/// the help command as it stands, not counted as a save. A start page that
/// cannot be read is first written again with a welcome text.
CQuavernDoc::NewPage ReadStartPage(const QString& path, bool atHelp);
