#include "tests/cli/CliTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/RecordingMessageSink.h"

extern char** environ;

namespace clitest {

TempFolder::TempFolder() {
    std::string pattern = ::testing::TempDir() + "quavern-cli-test-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = name.data();
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Folders made read-only by a test must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::vector<std::string> FolderEntries(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteSettings(const std::string& configHome, const std::map<std::string, std::string>& values) {
    const std::string folder = configHome + "/KV20481733PW";
    std::filesystem::create_directories(folder);
    std::string ini = "[KV20481733PW]\n";
    for (const auto& [name, value] : values)
        ini += name + "=" + value + "\n";
    WriteFile(folder + "/KV20481733PW.ini", ini);
}

ProcessResult RunCli(const std::vector<std::string>& args, const std::string& folder, const std::string& configHome) {
    TempFolder capture;
    const std::string outPath = capture / "out";
    const std::string errPath = capture / "err";

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0)
            env.emplace_back(*e);
    }
    env.push_back("XDG_CONFIG_HOME=" + configHome);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{QUAVERN_CLI_PATH};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(127);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ProcessResult result;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

std::string CoreSong::Saved() const {
    return StripAddedText(working->text, added);
}

std::string CoreSong::InfoJson() const {
    const CTablature& song = *working;
    std::ostringstream json;
    json << "{\"shift\": " << shift << ", \"score\": " << song.score << ", \"distinctCount\": " << song.distinctCount
         << ", \"distinct\": [";
    for (int i = 0; i < song.distinctCount; ++i)
        json << (i ? ", " : "") << '"' << song.distinctChords[static_cast<std::size_t>(i)].GetName() << '"';
    json << "], \"count\": " << song.OccurrenceCount() << ", \"occurrences\": [";
    for (int i = 0; i < song.OccurrenceCount(); ++i) {
        json << (i ? ", " : "") << "{\"name\": \"" << song.NameAt(i)
             << "\", \"offset\": " << SavedOffsetOf(song.text, added, song.PositionAt(i)) << "}";
    }
    json << "], \"untouched\": [";
    const std::vector<std::string> untouched = song.UntouchedNames();
    for (std::size_t i = 0; i < untouched.size(); ++i)
        json << (i ? ", " : "") << '"' << untouched[i] << '"';
    json << "], \"key\": " << (song.Key().empty() ? "null" : "\"" + song.Key() + "\"") << "}\n";
    return json.str();
}

std::string CoreSong::Page(bool highlighted, const HighlightSettings& settings,
                           const std::string& picturePrefix) const {
    return RenderDisplayPage(*working, highlighted, settings, picturePrefix);
}

CoreSong PrepareWithCore(const std::string& absolutePath, std::optional<int> shift, const SongOptions& options) {
    // The core's own messages are the tool's business here; the
    // expectations are computed silently.
    const CRecordingMessageSink silent;
    const SongRead read = ReadSongFile(absolutePath);
    if (read.status != SongReadStatus::Ok)
        throw std::runtime_error("cannot read " + absolutePath);
    const std::string fileType = FileTypeOf(absolutePath);
    SongPage page = BuildSongPage(absolutePath, fileType, read.bytes);
    CoreSong song;
    song.added = page.added;
    song.working = std::make_unique<CTablature>();
    song.working->SetHtml(IsHtmlType(fileType));
    song.working->SetAddedText(page.added.BytesBefore(), page.added.BytesAfter());
    song.working->SetOptions(options);
    song.working->Detect(page.text);
    if (shift) {
        song.shift = *shift;
        song.working->Transpose(*shift);
    } else {
        song.shift = song.working->FindEasiest();
    }
    return song;
}

std::vector<long> OffsetsOf(const std::string& infoJson) {
    static const std::string kKey = "\"offset\": ";
    std::vector<long> offsets;
    for (std::size_t p = infoJson.find(kKey); p != std::string::npos; p = infoJson.find(kKey, p + 1))
        offsets.push_back(std::strtol(infoJson.c_str() + p + kKey.size(), nullptr, 10));
    return offsets;
}

} // namespace clitest
