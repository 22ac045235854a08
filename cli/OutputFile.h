#pragma once

#include <string>

/// Replaces the file at path by the bytes in one step: the bytes go to a
/// temporary file in the same folder, which is then renamed over path. On
/// failure the temporary file is removed, path is left as it was, and the
/// reason is returned in error. A file that already exists keeps its
/// permissions; a new one gets the usual ones (0666 less the umask). When
/// path is a symbolic link, the file it points at is replaced.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string& error);
