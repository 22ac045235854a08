#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliSettings.h"
#include "cli/CommandLine.h"
#include "cli/StreamMessageSink.h"
#include "render/SongPage.h"

class CTablature;
class ISettingsStore;

/// One run of a subcommand over one song: the song prepared as the
/// program's Open prepares it, with the stored levels and settings, moved by
/// the asked shift, and the delivery of the result.
///
/// While it lives, the core's messages go to the error stream and the
/// program's store is the one it reads.
class CSongJob final {
public:
    /// store may be null: the desktop program's settings are read then.
    CSongJob(const CliOptions& options, std::ostream& err, ISettingsStore* store);
    ~CSongJob();
    CSongJob(const CSongJob&) = delete;
    CSongJob& operator=(const CSongJob&) = delete;

    /// Loads the levels and the settings, reads and prepares the song and
    /// moves it. Returns the exit status: 0, or 1 with the reason shown. A
    /// stored level outside 1..5 ends the process.
    int Prepare();

    int Shift() const { return m_nShift; }
    const CTablature& Working() const { return *m_working; }
    const AddedText& Added() const { return m_added; }
    const CliSettings& Settings() const { return m_settings; }
    /// The picture prefix of the pop-up block, formed in the current folder.
    const std::string& PicturePrefix() const { return m_picturePrefix; }
    /// The working text as Save writes it.
    std::string SavedText() const;
    /// Where a byte of the working text stands in the song as Save writes it.
    std::size_t SavedOffset(std::size_t position) const;

    /// Writes the bytes to OUT, or to out without -o. Returns the exit status.
    int Deliver(const std::string& bytes, std::ostream& out);

private:
    int Fail(const std::string& message);
    /// Why a song of this size is refused.
    std::string TooLargeMessage(const std::string& size) const;

    const CliOptions& m_options;
    std::ostream& m_err;
    CStreamMessageSink m_sink;
    std::unique_ptr<ISettingsStore> m_ownStore;
    ISettingsStore* m_store;
    ISettingsStore* m_previousStore;
    CliSettings m_settings;
    std::string m_picturePrefix;
    AddedText m_added;
    std::unique_ptr<CTablature> m_loaded;
    std::unique_ptr<CTablature> m_working;
    int m_nShift = 0;
};

/// The shape every song subcommand shares: parse its arguments (usage
/// errors and --help answered here), prepare the song, then deliver what
/// produce makes of it.
int RunSongCommand(CliCommand command, const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   ISettingsStore* store, const std::function<std::string(CSongJob&)>& produce);
