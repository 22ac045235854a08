#pragma once

#include <string>
#include <vector>

/// Writes the bytes to a file, creating or truncating it; throws on failure.
void WriteTestFile(const std::string& path, const std::string& bytes);

/// The lines of a file of expected results checked in beside the tests,
/// without their line ends and without the comment lines, which start with
/// "#"; throws when the file cannot be read.
std::vector<std::string> ReadExpectedLines(const std::string& path);

/// The folder of real chord sheets by other people, or "" when it is absent.
/// QUAVERN_CORPUS_DIR in the environment overrides the built-in place.
std::string CorpusFolder();
/// The absolute paths of the song files (.txt, .htm, .html) in the corpus
/// folder, sorted; empty when the folder is absent.
std::vector<std::string> CorpusSongPaths();
