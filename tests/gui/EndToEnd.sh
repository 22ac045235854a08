#!/bin/sh
# End to end: starts the real program under a virtual X server, opens a song
# through the real file dialog with the keyboard, transposes it up by the
# menu, saves it with Ctrl+S, quits by the menu, and checks the saved file and
# that the display file is gone. Then starts it with a stored level outside
# 1..5 and checks that it shows its box and ends with status 1.
#
#   EndToEnd.sh PROGRAM [SCREENSHOT.png]
#
# With SCREENSHOT, the main window with the highlighted song is saved there
# before the song is transposed. Exits 77 (skipped) without xvfb-run or xdotool.
set -eu

program=$(readlink -f "$1")
screenshot=${2:-}
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is missing"; exit 77; }
done
if [ -n "$screenshot" ]; then
    command -v import >/dev/null 2>&1 || { echo "import (ImageMagick) is missing"; exit 1; }
    screenshot=$(readlink -f "$(dirname "$screenshot")")/$(basename "$screenshot")
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
outdir=$(dirname "$program")
mkdir -p "$work/songs" "$work/config"
cat > "$work/songs/river.txt" <<'SONG'
Morning by the River

G                 Em
  Morning by the river, the water running slow,
C                    D7
  I tune my old guitar and let the worries go.
G                  Em
  Every chord I play is a stepping stone,
Am            D7              G
  Carried on the current till the night comes home.
SONG

export XDG_CONFIG_HOME="$work/config"
# The song as the program must save it: every chord a half-tone up, byte for
# byte as the engine writes it (the command-line tool beside the program).
"$outdir/quavern-cli" transpose --by 1 "$work/songs/river.txt" > "$work/expected"
grep -q "G#" "$work/expected" || { echo "FAIL: no expected song"; exit 1; }
export XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export WORK="$work" PROGRAM="$program" SCREENSHOT="$screenshot"
unset QT_QPA_PLATFORM

xvfb-run -a -s "-screen 0 1280x900x24" sh -eu <<'SESSION'
fail() { echo "FAIL: $*"; xdotool search --name . getwindowname %@ 2>/dev/null || true; exit 1; }
# Waits until a window whose name matches $1 exists; prints its id.
wait_window() {
    for i in $(seq 1 1800); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits until file $1 holds exactly the bytes of file $2.
wait_bytes() {
    for i in $(seq 1 300); do
        cmp -s "$1" "$2" && return 0
        sleep 0.1
    done
    return 1
}

cd "$WORK"
"$PROGRAM" &
pid=$!
# The frame shows the path of the page once it has loaded.
frame=$(wait_window "^Start.htm .* - Quavern\$") || fail "no start page"
xdotool windowfocus --sync "$frame"
xdotool mousemove --window "$frame" 400 400

# Open the song with the real file dialog: type its path, press Enter.
xdotool key --clearmodifiers ctrl+o
dialog=$(wait_window "^Open\$") || fail "no open dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "$WORK/songs/river.txt"
xdotool key Return
wait_window "^river.txt .*songs. - Quavern\$" >/dev/null || fail "song not opened"
[ -f "$WORK/songs/QuavernFile.htm" ] || fail "no display file in the song's folder"
xdotool windowfocus --sync "$frame"
sleep 1

if [ -n "$SCREENSHOT" ]; then
    # Point at the first "Em" so its fingering pops up (where the default font puts it).
    xdotool mousemove --window "$frame" 157 158
    sleep 1.5
    import -window "$frame" "$SCREENSHOT"
    xdotool mousemove --window "$frame" 600 500
fi

# Transpose by a half-tone up through the menu, then save.
xdotool key --clearmodifiers alt+t
sleep 0.5
xdotool key u
for i in $(seq 1 300); do
    grep -q "G#" "$WORK/songs/QuavernFile.htm" 2>/dev/null && break
    sleep 0.1
done
xdotool key --clearmodifiers ctrl+s
wait_bytes "$WORK/songs/river.txt" "$WORK/expected" || fail "the saved song differs"


# Quit through the menu: the song is saved, so nothing is asked.
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for i in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "the program did not end"; }
wait "$pid" || fail "the program ended with status $?"
[ ! -e "$WORK/songs/QuavernFile.htm" ] || fail "the display file was left behind"

# A stored level outside 1..5 is fatal: the box, then status 1.
mkdir -p "$XDG_CONFIG_HOME/KV20481733PW"
printf '[KV20481733PW]\nZDifficultyLevel.0.0=9\n' > "$XDG_CONFIG_HOME/KV20481733PW/KV20481733PW.ini"
"$PROGRAM" &
pid=$!
box=$(wait_window "^Quavern 3.0\$") || fail "no box for the bad level"
xdotool windowfocus --sync "$box"
xdotool key Return
status=0
wait "$pid" || status=$?
[ "$status" -eq 1 ] || fail "a bad level ended with status $status, not 1"
SESSION

echo "PASS: opened, transposed, saved and checked; a bad level ended with status 1"
