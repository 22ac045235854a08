#include "cli/SongJob.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <ostream>

#include "chords/ChordCatalog.h"
#include "chords/Messages.h"
#include "chords/SettingsStore.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "cli/UsageError.h"
#include "engine/Tablature.h"
#include "platform/QtSettingsStore.h"
#include "render/Highlight.h"

CSongJob::CSongJob(const CliOptions& options, std::ostream& err, ISettingsStore* store)
    : m_options(options), m_err(err), m_sink(err), m_store(store), m_previousStore(&GetProfileStore()),
      m_loaded(std::make_unique<CTablature>()), m_working(std::make_unique<CTablature>()) {}

CSongJob::~CSongJob() {
    SetProfileStore(m_previousStore);
}

namespace {

// Reads the file's bytes, at most limit of them.
bool ReadAtMost(const std::string& path, std::uint64_t limit, std::string& bytes, std::string& reason) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    while (bytes.size() < limit) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, limit - bytes.size()));
        const std::size_t n = std::fread(buffer, 1, wanted, file);
        bytes.append(buffer, n);
        if (n < wanted) {
            if (std::ferror(file)) {
                ok = false;
                reason = std::strerror(errno);
            }
            break;
        }
    }
    std::fclose(file);
    return ok;
}

} // namespace

std::string CSongJob::TooLargeMessage(const std::string& size) const {
    return "cannot read '" + m_options.filePath + "': the file is too large (" + size + "; the limit is " +
           std::to_string(kMaxSongBytes) + " bytes)";
}

int CSongJob::Fail(const std::string& message) {
    m_err << "quavern-cli: " << message << '\n';
    m_err.flush();
    return 1;
}

int CSongJob::Prepare() {
    if (!m_store) {
        m_ownStore = std::make_unique<CQtSettingsStore>();
        m_store = m_ownStore.get();
    }
    SetProfileStore(m_store);

    // As at the program's start-up: the levels first, then the settings.
    if (m_options.defaultLevels)
        theChordCatalog.ResetAll();
    else
        theChordCatalog.LoadLevels();
    m_settings = ReadCliSettings(*m_store);
    if (m_options.highlighted)
        m_settings.highlighted = *m_options.highlighted;

    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    if (ec)
        return Fail("cannot find the current folder: " + ec.message());
    m_picturePrefix = PicturePrefixFor(folder.string());

    // The title line holds the path as the program's Open gives it: absolute,
    // with "." and ".." taken out, symbolic links kept.
    const std::string path = (folder / m_options.filePath).lexically_normal().string();
    // A file is judged from its size before a byte of it is read; what has
    // no size (a pipe, a device) is read up to just past the limit.
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxSongBytes)
        return Fail(TooLargeMessage(std::to_string(size) + " bytes"));
    std::string bytes;
    std::string reason;
    if (!ReadAtMost(path, kMaxSongBytes + 1, bytes, reason))
        return Fail("cannot read '" + m_options.filePath + "': " + reason);
    if (bytes.size() > kMaxSongBytes)
        return Fail(TooLargeMessage("more than " + std::to_string(kMaxSongBytes) + " bytes"));

    SongPage page = BuildSongPage(path, FileTypeOf(path), bytes);
    m_added = page.added;
    m_loaded->Detect(std::move(page.text));

    *m_working = *m_loaded;
    if (m_options.easiest) {
        m_nShift = m_working->FindEasiest();
        if (m_nShift > 6)
            m_nShift -= 12;
    } else {
        m_nShift = m_options.shift.value_or(0);
        m_working->Transpose(m_nShift);
    }
    return 0;
}

std::string CSongJob::SavedText() const {
    return StripAddedText(m_working->text, m_added);
}

std::size_t CSongJob::SavedTextStart() const {
    // StripAddedText takes the title line and the header away only where
    // they stand at the start; the same test gives where the song begins.
    const std::string& text = m_working->text;
    std::size_t start = 0;
    for (const std::string* added : {&m_added.titleLine, &m_added.header}) {
        if (!added->empty() && text.compare(start, added->size(), *added) == 0)
            start += added->size();
    }
    return start;
}

int CSongJob::Deliver(const std::string& bytes, std::ostream& out) {
    if (m_options.outputPath.empty()) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            return Fail("cannot write to standard output");
        return 0;
    }
    std::string reason;
    if (!ReplaceFileContents(m_options.outputPath, bytes, reason))
        return Fail("cannot write '" + m_options.outputPath + "': " + reason);
    return 0;
}

int RunSongCommand(CliCommand command, const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   ISettingsStore* store, const std::function<std::string(CSongJob&)>& produce) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(command, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    // The capacity message is reported once for the run, not once per chord name and detection.
    CMessageOnceScope once;
    CSongJob job(options, err, store);
    if (const int status = job.Prepare(); status != kExitSuccess)
        return status;
    return job.Deliver(produce(job), out);
}
