// The usage, --help and the manual page's option list, made from the
// tables of CommandLine.cpp so that a new option or command shows in all.
#include <cstddef>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace {

// A usage line longer than this goes on under its command's name.
constexpr std::size_t kUsageWidth = 110;
// Where the explanations of --help start: the commands', the options'.
constexpr std::size_t kCommandColumn = 13;
constexpr std::size_t kOptionColumn = 20;

std::string Form(const CliOptionRow& option, bool showChoices) {
    std::string form = option.name;
    if (option.value)
        form += std::string(" ") + (showChoices && option.choices ? option.choices : option.value);
    return form;
}

// The bracketed items of a command's usage: one option, or a group of
// options that exclude each other, or "SONG OPTIONS" when it takes them all.
std::vector<std::string> UsageItems(const CliCommandRow& command) {
    const std::vector<CliOptionRow>& table = CliOptionTable();
    unsigned songOptions = 0;
    for (std::size_t i = 0; i < table.size(); ++i)
        songOptions |= table[i].songOption ? OptionBit(i) : 0;
    const bool allSongOptions = (command.options & songOptions) == songOptions;

    std::vector<std::string> items;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const CliOptionRow& option = table[i];
        if (!(command.options & OptionBit(i)))
            continue;
        if (option.songOption && allSongOptions) {
            if (i == 0 || !table[i - 1].songOption || !(command.options & OptionBit(i - 1)))
                items.push_back("[SONG OPTIONS]");
            continue;
        }
        std::string item = Form(option, false);
        // The rest of its group follows it at once in the table.
        while (option.group != 0 && i + 1 < table.size() && table[i + 1].group == option.group &&
               (command.options & OptionBit(i + 1)))
            item += " | " + Form(table[++i], false);
        const bool needed = option.group != 0 && option.group == command.requiredGroup;
        items.push_back((needed ? "(" : "[") + item + (needed ? ")" : "]"));
    }
    items.push_back(command.operand);
    return items;
}

// The lines of an explanation, the first after its label, the others under it.
std::string Entry(const std::string& label, const char* text, std::size_t column) {
    std::string entry = "  " + label;
    entry += label.size() + 2 < column ? std::string(column - 2 - label.size(), ' ') : std::string("  ");
    for (const char* c = text; *c; ++c) {
        entry += *c;
        if (*c == '\n')
            entry += std::string(column, ' ');
    }
    return entry + '\n';
}

std::string OptionLabel(const CliOptionRow& option) {
    return (option.alias ? std::string(option.alias) + ", " : std::string()) + Form(option, false);
}

std::string OptionEntries(bool songOptions) {
    std::string text;
    for (const CliOptionRow& option : CliOptionTable()) {
        if (option.songOption == songOptions)
            text += Entry(OptionLabel(option), option.help, kOptionColumn);
    }
    return text;
}

std::string ManualName(const char* name) {
    std::string escaped;
    for (const char* c = name; *c; ++c)
        escaped += *c == '-' ? std::string("\\-") : std::string(1, *c);
    return escaped;
}

std::string ManualEntries(bool songOptions) {
    std::string text;
    for (const CliOptionRow& option : CliOptionTable()) {
        if (option.songOption != songOptions)
            continue;
        text += ".TP\n";
        if (option.alias)
            text += ".BR " + ManualName(option.alias) + " \", \" " + ManualName(option.name);
        else if (option.value)
            text += ".BI " + ManualName(option.name) + " \" " + option.value + "\"";
        else
            text += ".B " + ManualName(option.name);
        text += '\n' + std::string(option.manual) + '\n';
    }
    return text;
}

std::string MakeUsageText() {
    std::string text;
    for (const CliCommandRow& command : CliCommandTable()) {
        std::string line = (text.empty() ? "Usage: " : "       ") + std::string("quavern-cli ") + command.name;
        const std::string indent(line.size() + 1, ' ');
        for (const std::string& item : UsageItems(command)) {
            if (line.size() + 1 + item.size() > kUsageWidth) {
                text += line + '\n';
                line = indent + item;
            } else {
                line += ' ' + item;
            }
        }
        text += line + '\n';
    }
    text += "       quavern-cli --help | --version\n";
    std::string line = "SONG OPTIONS:";
    const std::string indent(line.size() + 1, ' ');
    for (const CliOptionRow& option : CliOptionTable()) {
        if (!option.songOption)
            continue;
        const std::string item = "[" + Form(option, true) + "]";
        if (line.size() + 1 + item.size() > kUsageWidth) {
            text += line + '\n';
            line = indent + item;
        } else {
            line += ' ' + item;
        }
    }
    return text + line + '\n';
}

std::string MakeHelpText() {
    std::string text = "quavern-cli - find, score and transpose the chords of a song (Quavern 3.0)\n\n" + UsageText() +
                       R"(
FILE is a song: a .htm or .html file is read as HTML, any other file as a
text song. It is prepared exactly as the desktop program opens it: a title
line built from the file's absolute path, and for a text song the page
header and footer around its bytes. Chords are the 85 names the program
knows (C, C#, Db, ... B with "", "m", "7", "m7", "maj7") standing between
delimiters; "Maj7" is read as "maj7". In an HTML song a name inside a tag
(an attribute, a comment) is markup, not a chord.

Commands:
)";
    for (const CliCommandRow& command : CliCommandTable())
        text += Entry(command.name, command.help, kCommandColumn);
    text += "\nOptions:\n" + OptionEntries(false) +
            "\nSong options (each off by default, and then every result is as above):\n" + OptionEntries(true);
    return text + R"(
Settings: the difficulty levels ("ZDifficultyLevel.Q.S"), the highlight
settings (BOLD, ITALIC, UNDERLINE, USECOLOR, INFOBULLE, RED, GREEN, BLUE,
AREHIGHLIGHTED) and the song options (ALLCHORDS 0/1, SPELLING 0 as-written,
1 sharps, 2 flats, 3 key, KEEPCOLUMNS 0/1) are read, never written, from the
desktop program's settings file $XDG_CONFIG_HOME/KV20481733PW/KV20481733PW.ini
(by default under ~/.config), section [KV20481733PW]. Missing values take
the program's defaults: bold blue chords with pop-ups, highlighted, song
options off. The options given on the command line go before the stored
ones.

Messages and exit status:
  0  success, whatever the number of chords in the song.
  1  FILE cannot be read, OUT cannot be written (OUT is left as it was), or
     a stored difficulty level lies outside 1..5 ("Error setting a
     difficulty : difficulty incorrect").
  2  usage error: unknown command or option, missing FILE, a shift that is
     not a whole number from -6 to +6, an unknown spelling. A one-line
     message and the usage go to standard error and nothing is written.

Examples:
  quavern-cli info song.txt
  quavern-cli transpose --by -2 -o song-down2.txt song.txt
  quavern-cli transpose --easiest song.htm > easy.htm
  quavern-cli render --by +3 --plain -o page.htm song.txt
With the example song of the source tree, which holds a Dsus4 and a Cadd9:
  quavern-cli info data/example/mill-road.txt
      ... "untouched": ["Dsus4", "Cadd9"], "key": "G"}
  quavern-cli transpose --by -2 --all-chords data/example/mill-road.txt
      moves them to Csus4 and A#add9 with the rest of the song
  quavern-cli transpose --by 1 --spelling key --keep-columns data/example/mill-road.txt
      writes the song in Ab (Ab Db Eb, Fm), chords over their syllables
  quavern-cli capo data/example/mill-road.txt
      ... "best": 7}: capo on fret 7, shapes of C
)";
}

} // namespace

const std::string& UsageText() {
    static const std::string text = MakeUsageText();
    return text;
}

const std::string& HelpText() {
    static const std::string text = MakeHelpText();
    return text;
}

std::string ManualOptionsText() {
    return ".SH OPTIONS\n" + ManualEntries(false) +
           ".SS Song options\n"
           "Each is off unless given here or stored by the desktop program.\n" +
           ManualEntries(true);
}
