#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Tablature.h"
#include "render/Highlight.h"
#include "render/SongPage.h"

namespace clitest {

/// A folder under the test's temporary folder, removed with everything in it.
class TempFolder final {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    /// Path() + "/" + name.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
/// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& path);

/// The settings file of the program under a configuration home, with these
/// values in its section.
void WriteSettings(const std::string& configHome, const std::map<std::string, std::string>& values);

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs quavern-cli with the arguments in the folder, with XDG_CONFIG_HOME
/// set to configHome, and collects its exit status and both outputs.
ProcessResult RunCli(const std::vector<std::string>& args, const std::string& folder, const std::string& configHome);

/// A song prepared by the core functions as the program's Open prepares it,
/// moved by a shift (or to the easiest one), for comparing with the tool.
struct CoreSong {
    AddedText added;
    std::unique_ptr<CTablature> working;
    int shift = 0;

    /// What transpose should write.
    std::string Saved() const;
    /// What info should print.
    std::string InfoJson() const;
    /// What render should write.
    std::string Page(bool highlighted, const HighlightSettings& settings, const std::string& picturePrefix) const;
};

/// Reads the file at the absolute path and moves it; nullopt asks for the easiest shift.
/// Uses the chord table's current levels.
CoreSong PrepareWithCore(const std::string& absolutePath, std::optional<int> shift,
                         const SongOptions& options = SongOptions());

/// The "offset" values of an info line, in order.
std::vector<long> OffsetsOf(const std::string& infoJson);

} // namespace clitest
