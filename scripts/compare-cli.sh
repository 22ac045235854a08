#!/usr/bin/env bash
# Runs two builds of quavern-cli on the same songs with every command, every
# shift, --easiest and every combination of the song options, and counts the
# runs whose standard output or exit status differ. A change that must not
# alter any output (a refactoring) is checked with it:
#
#   bash scripts/compare-cli.sh OLD_CLI NEW_CLI SONG_OR_FOLDER...
#
# The stored settings are left out (an empty XDG_CONFIG_HOME) and the
# default levels used, so both builds read the same settings.
set -uo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 OLD_CLI NEW_CLI SONG_OR_FOLDER..." >&2
    exit 2
fi
old=$1
new=$2
shift 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"

runs=0
differences=0
compare() {
    "$old" "$@" >"$work/old" 2>/dev/null
    local oldStatus=$?
    "$new" "$@" >"$work/new" 2>/dev/null
    local newStatus=$?
    runs=$((runs + 1))
    if [ "$oldStatus" != "$newStatus" ] || ! cmp -s "$work/old" "$work/new"; then
        differences=$((differences + 1))
        echo "differs: $* (status $oldStatus, $newStatus)"
    fi
}

mapfile -d '' songs < <(find "$@" -type f -print0 | sort -z)
shifts=(--easiest)
for s in -6 -5 -4 -3 -2 -1 0 1 2 3 4 5 6; do shifts+=("--by=$s"); done

for song in "${songs[@]}"; do
    for all in "" --all-chords; do
        for spelling in as-written sharps flats key; do
            compare capo --default-levels $all --spelling "$spelling" "$song"
            for columns in "" --keep-columns; do
                options=(--default-levels $all --spelling "$spelling" $columns)
                for shift in "${shifts[@]}"; do
                    compare info "$shift" "${options[@]}" "$song"
                    compare transpose "$shift" "${options[@]}" "$song"
                    compare render "$shift" "${options[@]}" "$song"
                    compare render --plain "$shift" "${options[@]}" "$song"
                done
            done
        done
    done
done
echo "$runs runs, $differences differences"
[ "$differences" -eq 0 ]
