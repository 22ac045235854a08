#include "cli/SongJob.h"

#include <filesystem>
#include <string>
#include <ostream>

#include "base/FileWriter.h"
#include "base/Messages.h"
#include "base/SettingsStore.h"
#include "chords/ChordCatalog.h"
#include "cli/Commands.h"
#include "cli/UsageError.h"
#include "engine/ChordPro.h"
#include "engine/Shift.h"
#include "engine/Tablature.h"
#include "platform/QtSettingsStore.h"
#include "render/Highlight.h"

CSongJob::CSongJob(const CliOptions& options, std::ostream& err, ISettingsStore* store)
    : m_options(options), m_err(err), m_sink(err), m_store(store), m_previousStore(&GetProfileStore()),
      m_loaded(std::make_unique<CTablature>()), m_working(std::make_unique<CTablature>()) {}

CSongJob::~CSongJob() {
    SetProfileStore(m_previousStore);
}

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
    // What the command line asks goes before what is stored.
    SongOptions& songOptions = m_settings.options;
    songOptions.allChords = songOptions.allChords || m_options.allChords;
    songOptions.spelling = m_options.spelling.value_or(songOptions.spelling);
    songOptions.keepColumns = songOptions.keepColumns || m_options.keepColumns;
    songOptions.chordLines = songOptions.chordLines || m_options.chordLines;
    songOptions.notation = m_options.notation.value_or(songOptions.notation);

    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    if (ec)
        return Fail("cannot find the current folder: " + ec.message());
    m_picturePrefix = PicturePrefixFor(folder.string());

    // The title line holds the path as the program's Open gives it: absolute,
    // with "." and ".." taken out, symbolic links kept.
    const std::string path = (folder / m_options.filePath).lexically_normal().string();
    // Pipes and devices are read as well: a song may come from another program.
    const SongRead read = ReadSongFile(path, SongFileKinds::Any);
    if (read.status == SongReadStatus::TooLarge)
        return Fail(TooLargeMessage(read.size ? std::to_string(*read.size) + " bytes"
                                              : "more than " + std::to_string(kMaxSongBytes) + " bytes"));
    if (read.status != SongReadStatus::Ok)
        return Fail("cannot read '" + m_options.filePath + "': " + read.reason);
    if (const std::string refused = UnreadableSongReason(read.bytes); !refused.empty())
        return Fail("cannot read '" + m_options.filePath + "': " + refused);

    const std::string fileType = FileTypeOf(path);
    SongPage page = BuildSongPage(path, fileType, read.bytes);
    m_added = page.added;
    m_loaded->SetHtml(IsHtmlType(fileType));
    m_loaded->SetChordPro(IsChordProType(fileType));
    // The song's lines are read without what opening put around them.
    m_loaded->SetAddedText(m_added.BytesBefore(), m_added.BytesAfter());
    m_loaded->SetOptions(songOptions);
    m_loaded->Detect(std::move(page.text));

    *m_working = *m_loaded;
    if (m_options.easiest) {
        m_nShift = WrapShift(m_working->FindEasiest());
    } else {
        m_nShift = m_options.shift.value_or(0);
        m_working->Transpose(m_nShift);
    }
    return 0;
}

std::string CSongJob::SavedText() const {
    return StripAddedText(m_working->text, m_added);
}

std::size_t CSongJob::SavedOffset(std::size_t position) const {
    return SavedOffsetOf(m_working->text, m_added, position);
}

int CSongJob::Deliver(const std::string& bytes, std::ostream& out) {
    if (m_options.outputPath.empty()) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            return Fail("cannot write to standard output");
        return 0;
    }
    const FileWriteResult written = WriteWholeFile(m_options.outputPath, bytes);
    if (!written)
        return Fail("cannot write '" + m_options.outputPath + "': " + written.reason);
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
    // A message the core shows is reported once for the run, not once per detection.
    CMessageOnceScope once;
    CSongJob job(options, err, store);
    if (const int status = job.Prepare(); status != kExitSuccess)
        return status;
    return job.Deliver(produce(job), out);
}
