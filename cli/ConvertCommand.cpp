#include <ostream>

#include "base/FileWriter.h"
#include "base/SongFile.h"
#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/UsageError.h"
#include "engine/ChordPro.h"
#include "render/SongPage.h"

namespace {

int Fail(std::ostream& err, const std::string& message) {
    err << "quavern-cli: " << message << '\n';
    err.flush();
    return kExitFailure;
}

} // namespace

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore*) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(CliCommand::Convert, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    const std::string& path = options.filePath;
    // As the song commands read a song: pipes too, nothing past the limit.
    const SongRead read = ReadSongFile(path, SongFileKinds::Any);
    if (read.status == SongReadStatus::TooLarge)
        return Fail(err, "cannot read '" + path + "': the file is too large (the limit is " +
                             std::to_string(kMaxSongBytes) + " bytes)");
    if (read.status != SongReadStatus::Ok)
        return Fail(err, "cannot read '" + path + "': " + read.reason);
    if (const std::string refused = UnreadableSongReason(read.bytes); !refused.empty())
        return Fail(err, "cannot read '" + path + "': " + refused);
    const std::string type = FileTypeOf(path);
    if (IsHtmlType(type))
        return Fail(err, "cannot convert '" + path + "': convert reads text and ChordPro songs, not HTML");

    const bool fromChordPro = IsChordProType(type);
    const bool toChordPro = options.convertTo == "chordpro";
    std::string converted;
    if (fromChordPro == toChordPro)
        converted = read.bytes;
    else
        converted = toChordPro ? TextToChordPro(read.bytes) : ChordProToText(read.bytes);

    if (options.outputPath.empty()) {
        out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
        out.flush();
        return out ? kExitSuccess : Fail(err, "cannot write to standard output");
    }
    const FileWriteResult written = WriteWholeFile(options.outputPath, converted);
    if (!written)
        return Fail(err, "cannot write '" + options.outputPath + "': " + written.reason);
    return kExitSuccess;
}
