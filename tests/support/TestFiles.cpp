#include "tests/support/TestFiles.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

void WriteTestFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> ReadExpectedLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] != '#')
            lines.push_back(line);
    }
    return lines;
}

std::string CorpusFolder() {
    const char* fromEnvironment = std::getenv("QUAVERN_CORPUS_DIR");
    const std::string folder = fromEnvironment && *fromEnvironment ? fromEnvironment : QUAVERN_CORPUS_DIR;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return {};
    return fs::absolute(folder, error).lexically_normal().string();
}

std::vector<std::string> CorpusSongPaths() {
    std::vector<std::string> paths;
    const std::string folder = CorpusFolder();
    if (folder.empty())
        return paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string extension = entry.path().extension().string();
        if (extension == ".txt" || extension == ".htm" || extension == ".html")
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}
