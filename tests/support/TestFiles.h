#pragma once

#include <string>
#include <vector>

/// Writes the bytes to a file, creating or truncating it; throws on failure.
void WriteTestFile(const std::string& path, const std::string& bytes);

/// The folder of real chord sheets by other people, or "" when it is absent.
/// QUAVERN_CORPUS_DIR in the environment overrides the built-in place.
std::string CorpusFolder();
/// The absolute paths of the song files (.txt, .htm, .html) in the corpus
/// folder, sorted; empty when the folder is absent.
std::vector<std::string> CorpusSongPaths();
