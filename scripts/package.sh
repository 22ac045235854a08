#!/usr/bin/env bash
# Builds the Debian package quavern_<version>_<arch>.deb and checks it.
#
#   bash scripts/package.sh              build, validate, install, run, remove
#   bash scripts/package.sh --build-only build it only
#
# Installs what is missing (scripts/install-deps.sh --packaging), builds
# build-pkg/ in Release with Debian's hardening flags, makes the package with
# CPack (dependencies from dpkg-shlibdeps) and copies it to the top folder.
# Then checks it: its file list, desktop-file-validate, appstreamcli
# validate, lintian (no errors); installs it on this machine with apt, starts
# /usr/bin/quavern the way the menu entry does under a virtual X server with
# an empty home folder and a song on the command line, checks the song is
# shown with the installed pictures, quits, and purges the package, checking
# that none of its files is left. Needs root or sudo. QUAVERN_JOBS sets the
# number of parallel compile jobs.
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=0
for arg in "$@"; do
    case "$arg" in
    --build-only) build_only=1 ;;
    -h | --help)
        sed -n '2,16p' "$0"
        exit 0
        ;;
    *)
        echo "package.sh: unknown argument '$arg'" >&2
        exit 2
        ;;
    esac
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
fail() {
    echo "package.sh: FAIL: $*" >&2
    exit 1
}

echo "== Build"
bash scripts/install-deps.sh --packaging
build=build-pkg
# Debian's compiler and linker flags (hardening: stack protector, fortified
# functions, read-only relocations, immediate binding); CMake takes the
# preprocessor flags with the compiler's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUAVERN_WERROR=ON -DQUAVERN_BUILD_GUI=ON -DQUAVERN_BUILD_TESTS=OFF
cmake --build "$build" -j "${QUAVERN_JOBS:-$(nproc)}"
rm -f "$build"/quavern_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/quavern_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single quavern_*.deb"
deb=$(basename "${debs[0]}")
cp "${debs[0]}" "$deb"
echo "Package: $PWD/$deb"
if [ "$build_only" = 1 ]; then
    exit 0
fi

work=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" = 1 ]; then
        echo "package.sh: removing the package after a failed check" >&2
        $sudo apt-get purge -y -q quavern >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "== Contents"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb" | tee "$work/contents"
# Paths as they will be on disk, without the leading "." of the archive.
awk '{ print $6 }' "$work/contents" | sed 's|^\./|/|; s|/$||' | grep -v '^$' | grep -v '^/$' > "$work/paths"
grep -v '^/usr' "$work/paths" && fail "files outside /usr"
expected=(
    /usr/bin/quavern /usr/bin/quavern-cli
    /usr/share/quavern/Start.htm
    /usr/share/applications/quavern.desktop
    /usr/share/mime/packages/quavern-chordpro.xml
    /usr/share/metainfo/invalid.quavern.Quavern.metainfo.xml
    /usr/share/icons/hicolor/scalable/apps/quavern.svg
    /usr/share/man/man1/quavern.1.gz /usr/share/man/man1/quavern-cli.1.gz
    /usr/share/doc/quavern/copyright /usr/share/doc/quavern/changelog.gz
)
for size in 16 24 32 48 64 128 256; do
    expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/quavern.png")
done
for path in "${expected[@]}"; do
    grep -qx "$path" "$work/paths" || fail "the package lacks $path"
done
pictures=$(grep -c '^/usr/share/quavern/Pics/[^/]*\.gif$' "$work/paths" || true)
[ "$pictures" -eq 85 ] || fail "the package holds $pictures chord pictures, not 85"
depends=$(dpkg-deb --field "$deb" Depends)
[[ "$depends" == *libqt6webenginewidgets6* ]] || fail "the dependencies do not name the browser engine's library"

echo "== Validators"
mkdir "$work/root"
dpkg-deb --extract "$deb" "$work/root"
echo "desktop-file-validate:"
desktop-file-validate "$work/root/usr/share/applications/quavern.desktop"
echo "  (no message: valid)"
echo "appstreamcli validate --no-net:"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/invalid.quavern.Quavern.metainfo.xml"
echo "appstreamcli validate-tree --no-net (the metainfo file's name, its desktop entry):"
appstreamcli validate-tree --no-net "$work/root"
echo "lintian:"
lintian --fail-on error --display-info --info "$deb" || fail "lintian reports errors"
echo "  (lintian: no errors)"

echo "== Install"
if dpkg-query -W -f='${Status}' quavern 2>/dev/null | grep -q "install ok installed"; then
    trap - EXIT
    rm -rf "$work"
    fail "quavern is already installed here; remove it first (sudo apt-get purge quavern), this check would remove it"
fi
installed=1
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "./$deb"
[ "$(command -v quavern)" = /usr/bin/quavern ] || fail "quavern on the PATH is $(command -v quavern), not /usr/bin/quavern"
version=$(dpkg-deb --field "$deb" Version)
[ "$(quavern --version)" = "quavern $version" ] || fail "quavern --version: $(quavern --version)"
[ "$(quavern-cli --version)" = "quavern-cli $version" ] || fail "quavern-cli --version: $(quavern-cli --version)"
[ "$(man -w quavern-cli)" = /usr/share/man/man1/quavern-cli.1.gz ] || fail "man does not find quavern-cli(1)"
[ "$(man -w quavern)" = /usr/share/man/man1/quavern.1.gz ] || fail "man does not find quavern(1)"
echo "quavern --version: $(quavern --version); quavern-cli --version: $(quavern-cli --version)"

echo "== Run from the menu entry's command"
# A user who never ran it: an empty home folder and no XDG folders set.
home="$work/home"
songs="$work/songs"
mkdir -p "$home" "$songs"
cp data/example/mill-road.txt "$songs/mill-road.txt"
[ "$(HOME=$home quavern-cli transpose --by 5 "$songs/mill-road.txt" | sed -n 5p | awk '{ print $1 }')" = C ] ||
    fail "quavern-cli does not move the example song to C"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/quavern.desktop)
[ "$exec_line" = "quavern %F" ] || fail "unexpected Exec line: $exec_line"
command_line=${exec_line/\%F/$songs/mill-road.txt}
# The browser engine refuses to run as root with its sandbox on; a normal
# user never needs this.
if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export SONGS="$songs" COMMAND_LINE="$command_line"
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u QT_QPA_PLATFORM HOME="$home" \
    QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    xvfb-run -a -s "-screen 0 1280x900x24" bash -eu <<'SESSION' || fail "the installed program did not show the song"
pid=""
fail() {
    echo "package.sh: FAIL: $*" >&2
    xdotool search --name . getwindowname %@ 2>/dev/null || true
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    exit 1
}
wait_window() {
    for _ in $(seq 1 1200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
cd "$HOME"
# As the menu runs it: the Exec line with the file put in for %F.
$COMMAND_LINE &
pid=$!
window=$(wait_window "^mill-road\.txt \\(.*/songs\\) - Quavern\$") || fail "no window showing the song"
echo "window: $(xdotool getwindowname "$window")"
page="$SONGS/QuavernFile.htm"
[ -f "$page" ] || fail "no display page beside the song"
grep -q "Down the mill road" "$page" || fail "the display page is not the song"
grep -q 'src="/usr/share/quavern/Pics/Am.gif"' "$page" || fail "the page does not show the installed chord pictures"
start="$HOME/.local/share/quavern/Start.htm"
cmp -s "$start" /usr/share/quavern/Start.htm || fail "no copy of the start page in the user's data folder"
echo "display page: $page; the user's start page: $start"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "the program did not end on Ctrl+Q"; }
wait "$pid" || fail "the program ended with status $?"
[ ! -e "$page" ] || fail "the display page was left beside the song"
SESSION

echo "== Remove"
dpkg-query -L quavern | sort > "$work/listed"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q quavern
installed=0
dpkg-query -W -f='${Status}' quavern 2>/dev/null | grep -q "install ok installed" && fail "quavern is still installed"
left=()
while read -r path; do
    # Every file of the package must be gone, and every folder of its own:
    # a folder left that no installed package owns. Folders others own
    # (/usr/bin, /usr/share/man/man1 ...) stay.
    if [ -d "$path" ]; then
        dpkg-query -S "$path" >/dev/null 2>&1 || left+=("$path/")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done < "$work/listed"
[ ${#left[@]} -eq 0 ] || fail "left in /usr after the purge: ${left[*]}"
echo "package.sh: $deb built, validated, installed, showed a song, and removed without a trace"
