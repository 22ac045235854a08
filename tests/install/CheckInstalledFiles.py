#!/usr/bin/env python3
"""What the package installs beside the programs says what the programs do:
the manual pages list the options (and, for quavern-cli, the commands) that
--help lists, --version prints the version of the build, and the AppStream
release and the Debian changelog name that version.

    CheckInstalledFiles.py VERSION MAN_FOLDER METAINFO CHANGELOG PROGRAM...

PROGRAM is the path of quavern or quavern-cli; MAN_FOLDER holds NAME.1 for
each of them.
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

OPTION = re.compile(r"-[-\w]*")


def help_entries(text, section):
    """The names of the entries of a --help section ("Options", "Commands"):
    the lines indented by two spaces under its heading, up to the next
    heading; "-h, --help" gives both names."""
    names = set()
    inside = False
    for line in text.splitlines():
        if re.match(r"^\S.*:$", line):
            inside = line.lower().startswith(section.lower())
            continue
        entry = re.match(r"^  ([^\s,]+(?:, [^\s,]+)*)", line)
        if inside and entry:
            names.update(name for name in entry.group(1).split(", "))
    return names


def man_entries(page, section):
    """The names of the tagged paragraphs of a manual page section and its
    subsections: the first words of each line after .TP, in plain text."""
    names = set()
    inside = False
    lines = page.splitlines()
    for i, line in enumerate(lines):
        if line.startswith(".SH "):
            inside = line[4:].strip('"').upper() == section.upper()
        elif inside and line == ".TP" and i + 1 < len(lines):
            tag = re.sub(r"\\f[BIRP]", "", lines[i + 1]).replace("\\-", "-")
            tag = re.sub(r'^\.B[IR]? ', "", tag).replace('"', "")
            names.update(name.strip() for name in tag.split(",") if name.strip())
    return names


def first_word(names):
    return {name.split()[0] for name in names}


def run(program, *arguments):
    # --help and --version answer without a display.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    result = subprocess.run([program, *arguments], capture_output=True, text=True, env=env, timeout=60)
    if result.returncode != 0 or result.stderr:
        raise AssertionError(f"{program} {' '.join(arguments)}: status {result.returncode}, {result.stderr!r}")
    return result.stdout


def main():
    version, man_folder, metainfo, changelog, *programs = sys.argv[1:]
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    for program in programs:
        name = os.path.basename(program)
        check(run(program, "--version") == f"{name} {version}\n", f"{name} --version does not print {version}")
        help_text = run(program, "--help")
        with open(os.path.join(man_folder, name + ".1"), encoding="utf-8") as file:
            page = file.read()
        sections = [("Options", "OPTIONS")]
        if "\nCommands:\n" in help_text:
            sections.append(("Commands", "COMMANDS"))
        for help_section, man_section in sections:
            in_help = first_word(help_entries(help_text, help_section))
            if help_section == "Options":
                in_help |= first_word(help_entries(help_text, "Song options"))
            in_man = first_word(man_entries(page, man_section))
            check(in_help, f"{name} --help lists no {help_section.lower()}")
            check(in_help == in_man, f"{name}: {help_section.lower()} only in --help: {sorted(in_help - in_man)}, "
                  f"only in {name}(1): {sorted(in_man - in_help)}")
        check(f'"Quavern {version}"' in page, f"{name}(1) does not name version {version}")

    releases = ElementTree.parse(metainfo).getroot().findall("./releases/release")
    check(releases and releases[0].get("version") == version,
          f"the newest AppStream release is not {version}: add a release to {metainfo}")
    with open(changelog, encoding="utf-8") as file:
        top = file.readline()
    check(top.startswith(f"quavern ({version})"), f"the changelog's newest entry is not {version}: {top.strip()}")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"PASS: --help and the manual pages agree for {len(programs)} programs; version {version} everywhere")
    return 0


if __name__ == "__main__":
    sys.exit(main())
