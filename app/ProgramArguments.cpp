#include "app/ProgramArguments.h"

ProgramArguments ParseProgramArguments(const QStringList& arguments) {
    ProgramArguments parsed;
    bool onlySongs = false;
    for (const QString& argument : arguments) {
        if (onlySongs || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            parsed.songs.append(argument);
        } else if (argument == QLatin1String("--")) {
            onlySongs = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.action = ProgramArguments::Action::Help;
        } else if (argument == QLatin1String("--version")) {
            if (parsed.action != ProgramArguments::Action::Help)
                parsed.action = ProgramArguments::Action::Version;
        } else if (parsed.error.isEmpty()) {
            parsed.error = QStringLiteral("unknown option '%1'").arg(argument);
        }
    }
    if (parsed.action == ProgramArguments::Action::Run && !parsed.error.isEmpty())
        parsed.action = ProgramArguments::Action::UsageError;
    return parsed;
}

const char* ProgramHelpText() {
    return R"(quavern - find, highlight and transpose the chords of a song (Quavern 3.0)

Usage: quavern [FILE]...
       quavern --help | --version

The program opens on its start page, which is also its help (F1), then
opens FILE, the first song named, as File, Open does; a relative name is
taken from the current folder and any further names are ignored. A .htm or
.html file is an HTML song, any other file a text song.

Options:
  -h, --help  Show this help and exit.
  --version   Show the version and exit.
  --          End of options; the next arguments are songs.
Qt's own options, such as -platform and -style, are taken as well.

Files:
  $XDG_DATA_HOME/quavern/Start.htm (by default ~/.local/share/quavern)
              The start page shown for help and new songs: a copy of the
              installed one, made on first use and kept from then on.
  QuavernFile.htm, beside the song shown
              The page shown, deleted when the program ends; it goes to
              $XDG_CACHE_HOME/quavern when the song's folder takes no file.
  $XDG_CONFIG_HOME/KV20481733PW/KV20481733PW.ini (by default under ~/.config)
              The settings and chord levels, shared with quavern-cli.

Exit status: 0 when the window was closed, 1 when a stored difficulty level
lies outside 1..5, 2 on a usage error.
)";
}
