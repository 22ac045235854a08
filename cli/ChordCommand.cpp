#include <optional>
#include <ostream>

#include <QGuiApplication>
#include <QString>

#include "chords/ChordCatalog.h"
#include "chords/NamedVoicing.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/UsageError.h"
#include "pictures/ChordDrawing.h"

namespace {

// The picture is drawn with the fonts of a GUI application, which needs no
// display: one without a screen is made for the picture alone.
bool WritePicture(const std::string& name, const Voicing& voicing, const std::string& path, std::ostream& err) {
    // Qt's own notes about the desktop it does not use are no news to the user.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    std::optional<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        static int argc = 3;
        static char program[] = "quavern-cli";
        static char platformOption[] = "-platform";
        static char platform[] = "offscreen";
        static char* argv[] = {program, platformOption, platform, nullptr};
        app.emplace(argc, argv);
    }
    const CChord chord = DiagramChordOf(voicing);
    QString error;
    if (!CChordDrawing::WritePicture(&chord, QString::fromStdString(name), false, QString::fromStdString(path),
                                     error)) {
        qInstallMessageHandler(previous);
        err << "quavern-cli: cannot write '" << path << "': " << error.toStdString() << '\n';
        return false;
    }
    qInstallMessageHandler(previous);
    return true;
}

} // namespace

int RunChordCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, ISettingsStore*) {
    CliOptions options;
    std::string error;
    if (!ParseCommandArguments(CliCommand::Chord, args, options, error))
        return ReportUsageError(err, error);
    if (options.help) {
        out << HelpText();
        return kExitSuccess;
    }
    // The name as typed is the picture's title; it is looked up in the table's letters.
    const std::string& name = options.filePath;
    std::string lookedUp = name;
    if (options.notation) {
        if (const std::optional<std::string> written = NameInTableLetters(name, *options.notation))
            lookedUp = *written;
    }
    if (!theChordCatalog.Find(lookedUp) && !ChordTonesOfName(lookedUp))
        return ReportUsageError(err, "unknown chord name '" + name + "'");
    const std::optional<Voicing> voicing = VoicingOfName(lookedUp);
    if (!voicing) {
        err << "quavern-cli: no playable fingering for '" << name << "'\n";
        return kExitFailure;
    }
    if (!options.picturePath.empty() && !WritePicture(name, *voicing, options.picturePath, err))
        return kExitFailure;
    out << FingeringText(*voicing) << '\n';
    return kExitSuccess;
}
