#!/usr/bin/env bash
# Builds the Debian packages (cpack -G DEB) and checks them: control fields, the exact file list,
# no path of this computer inside any file, the desktop entry, the AppStream metadata, lintian,
# an installation under a scratch prefix, and the installed program itself, started from the
# extracted package inside a private network namespace on a virtual display. Nothing is installed
# into this computer's system. Prints each check; exits non-zero at the first failure.
#
#   tools/test-package.sh
#
# Set RIGWISE_BUILD_DIR to use an existing build directory instead of tools/setup.sh's build/.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd -P)

# Inside the private network: start the installed program and look at its window.
if [ "${RIGWISE_PACKAGE_INNER:-}" = "1" ]; then
    root=$1 title=$2 wmclass=$3
    program="$root/usr/bin/merrow-rigwise"
    "$program" >"$root/../program.log" 2>&1 &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    window=
    for _ in $(seq 150); do
        window=$(xdotool search --name "^${title//./\\.}\$" 2>/dev/null | head -1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "FAIL: no window titled \"$title\""; cat "$root/../program.log"; exit 1; }
    echo "ok   the installed program opened its window \"$title\" ($(xwininfo -id "$window" |
        awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'))"
    class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"/\1/p')
    [ "$class" = "$wmclass" ] || { echo "FAIL: window class \"$class\", desktop entry says \"$wmclass\""; exit 1; }
    echo "ok   window class $class matches the desktop entry's StartupWMClass"
    exe=$(readlink "/proc/$pid/exe")
    [ "$exe" = "$program" ] || { echo "FAIL: running $exe, not $program"; exit 1; }
    guide="$(dirname "$exe")/../share/doc/merrow-rigwise/user-guide.html"
    [ -f "$guide" ] || { echo "FAIL: no user guide at $guide"; exit 1; }
    echo "ok   the guide the logo opens exists: $(realpath "$guide")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    exit 0
fi

fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok   $*"; }
started=$(date +%s)

build=${RIGWISE_BUILD_DIR:-build}
if [ -n "${RIGWISE_BUILD_DIR:-}" ]; then
    cmake --build "$build" -j"$(nproc)"
else
    tools/setup.sh
fi
build=$(realpath "$build")

work=$(mktemp -d /tmp/rigwise-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== packages"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
main=$(ls "$work"/out/merrow-rigwise_*.deb)
sim=$(ls "$work"/out/merrow-rigwise-sim_*.deb)
version=$(dpkg-deb -f "$main" Version)
arch=$(dpkg --print-architecture)
[ "$(basename "$main")" = "merrow-rigwise_${version}_${arch}.deb" ] || fail "package name $(basename "$main")"
[ "$(basename "$sim")" = "merrow-rigwise-sim_${version}_${arch}.deb" ] || fail "package name $(basename "$sim")"
[ "$(dpkg-deb -f "$sim" Version)" = "$version" ] || fail "the packages' versions differ"
ok "built $(basename "$main") and $(basename "$sim") (version $version from the CMake project)"

for deb in "$main" "$sim"; do
    for field in Maintainer Description Section Depends; do
        [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "$(basename "$deb") has no $field"
    done
done
depends=$(dpkg-deb -f "$main" Depends)
grep -q 'libwxgtk3\.2' <<<"$depends" || fail "merrow-rigwise depends on no wxWidgets library: $depends"
grep -q 'libc6' <<<"$(dpkg-deb -f "$sim" Depends)" || fail "merrow-rigwise-sim depends on no libc6"
grep -q 'libwx' <<<"$(dpkg-deb -f "$sim" Depends)" && fail "merrow-rigwise-sim depends on wxWidgets"
ok "control fields; dependencies from dpkg-shlibdeps: $depends"

echo "== file lists"
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sort; }
expected_main=$(sort <<EOF
./etc/ufw/applications.d/merrow-rigwise
./usr/bin/merrow-rigwise
./usr/lib/firewalld/services/merrow-rigwise.xml
./usr/share/applications/org.merrow.Rigwise.desktop
./usr/share/doc/merrow-rigwise/changelog.gz
./usr/share/doc/merrow-rigwise/copyright
./usr/share/doc/merrow-rigwise/rig-file.md
./usr/share/doc/merrow-rigwise/user-guide.html
./usr/share/icons/hicolor/16x16/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/24x24/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/32x32/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/48x48/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/64x64/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/128x128/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/256x256/apps/org.merrow.Rigwise.png
./usr/share/icons/hicolor/scalable/apps/org.merrow.Rigwise.svg
./usr/share/man/man1/merrow-rigwise.1.gz
./usr/share/metainfo/org.merrow.Rigwise.metainfo.xml
EOF
)
expected_sim=$(sort <<EOF
./usr/bin/rigwise-sim
./usr/share/doc/merrow-rigwise-sim/README.md
./usr/share/doc/merrow-rigwise-sim/changelog.gz
./usr/share/doc/merrow-rigwise-sim/copyright
./usr/share/doc/merrow-rigwise-sim/demo-rack.json
./usr/share/man/man1/rigwise-sim.1.gz
EOF
)
diff <(echo "$expected_main") <(files_of "$main") || fail "merrow-rigwise's files (- expected, + found)"
diff <(echo "$expected_sim") <(files_of "$sim") || fail "merrow-rigwise-sim's files (- expected, + found)"
ok "merrow-rigwise holds exactly its $(wc -l <<<"$expected_main") files, merrow-rigwise-sim its $(wc -l <<<"$expected_sim")"
bad_modes=$(for deb in "$main" "$sim"; do dpkg-deb -c "$deb" | awk '$2 != "root/root"'; done)
[ -z "$bad_modes" ] || fail "files not owned by root: $bad_modes"
dpkg-deb -e "$main" "$work/control"
[ "$(cat "$work/control/conffiles")" = "/etc/ufw/applications.d/merrow-rigwise" ] ||
    fail "the ufw profile is not a conffile"
ok "owned by root; the ufw profile is a conffile"

root="$work/root"
dpkg-deb -x "$main" "$root"
dpkg-deb -x "$sim" "$root"

echo "== contents"
# No path of this computer's source or build tree in any file, compressed ones included.
leaks=$(find "$root" -type f | while read -r file; do
    if [[ "$file" == *.gz ]]; then reader=(zcat); else reader=(cat); fi
    if "${reader[@]}" "$file" | grep -a -c -e "$top" -e "$build" >/dev/null; then echo "$file"; fi
done)
[ -z "$leaks" ] || fail "paths of this computer ($top, $build) inside: $leaks"
ok "no file holds $top or $build"
for binary in "$root/usr/bin/merrow-rigwise" "$root/usr/bin/rigwise-sim"; do
    file "$binary" | grep -q 'ELF 64-bit.*stripped' || fail "$binary: $(file -b "$binary")"
    file "$binary" | grep -q 'not stripped' && fail "$binary is not stripped"
done
ok "both programs are stripped ELF executables"
strings "$root/usr/bin/merrow-rigwise" >"$work/strings"
# Bytes of other data may stand right before the text, so only its end is anchored.
grep -q '\.\./share/doc/merrow-rigwise/user-guide\.html$' "$work/strings" ||
    fail "the program does not look for its guide at ../share/doc/merrow-rigwise/user-guide.html"
ok "the program finds its guide relative to itself"

for size in 16 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/org.merrow.Rigwise.png"
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done
cmp -s "$root/usr/share/icons/hicolor/scalable/apps/org.merrow.Rigwise.svg" resources/rigwiseicon.svg ||
    fail "the scalable icon is not resources/rigwiseicon.svg"
tools/make-icon-xpm.py "$work/rigwiseicon.xpm"
cmp -s "$work/rigwiseicon.xpm" resources/rigwiseicon.xpm ||
    fail "resources/rigwiseicon.xpm is not made from resources/rigwiseicon.svg (run tools/make-icon-xpm.py)"
ok "icons at 16 to 256 px and scalable; the window icon is made from the same drawing"

desktop="$root/usr/share/applications/org.merrow.Rigwise.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
[ -z "$(desktop-file-validate "$desktop")" ] || fail "desktop-file-validate has remarks"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, which the package lacks"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "org.merrow.Rigwise" ] || fail "the desktop entry's icon"
wmclass=$(sed -n 's/^StartupWMClass=//p' "$desktop")
ok "desktop-file-validate: clean; Exec=$exec_name, StartupWMClass=$wmclass"

metainfo="$root/usr/share/metainfo/org.merrow.Rigwise.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli validate --no-net"; }
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
ok "appstreamcli validate --no-net: $(tail -1 "$work/appstream.log" | sed 's/^[^A-Za-z]*//')"

for doc in merrow-rigwise merrow-rigwise-sim; do
    zcat "$root/usr/share/doc/$doc/changelog.gz" | head -1 | grep -q "^merrow-rigwise ($version) " ||
        fail "$doc's changelog does not start with version $version"
done
man="$root/usr/share/man/man1/merrow-rigwise.1.gz"
for word in '6454' '6464' '6517' 'no\\-artnet' 'help' 'version' 'Oops!' 'user-guide.html' 'broadcasts'; do
    zcat "$man" | grep -q -- "$word" || fail "the manual page does not mention $word"
done
man --warnings -l "$man" 2>&1 >/dev/null | grep . && fail "man reports warnings"
man --warnings -l "$root/usr/share/man/man1/rigwise-sim.1.gz" 2>&1 >/dev/null | grep . &&
    fail "man reports warnings for rigwise-sim(1)"
grep -q '^ports=6454,6464,6517/udp$' "$root/etc/ufw/applications.d/merrow-rigwise" || fail "ufw ports"
for port in 6454 6464 6517; do
    grep -q "<port protocol=\"udp\" port=\"$port\"/>" "$root/usr/lib/firewalld/services/merrow-rigwise.xml" ||
        fail "firewalld service lacks UDP $port"
done
ok "changelogs at $version; manual pages; firewall profiles for UDP 6454, 6464 and 6517"

echo "== lintian"
lintian --fail-on error --display-info "$main" "$sim" | tee "$work/lintian.log" ||
    fail "lintian reports errors"
ok "lintian: $(grep -c '^E:' "$work/lintian.log" || true) errors, $(grep -c '^W:' "$work/lintian.log" || true) warnings"

echo "== cmake --install under a scratch prefix"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for file in bin/merrow-rigwise bin/rigwise-sim share/doc/merrow-rigwise/user-guide.html \
    etc/ufw/applications.d/merrow-rigwise share/metainfo/org.merrow.Rigwise.metainfo.xml; do
    [ -f "$prefix/$file" ] || fail "cmake --install left out $file"
done
outside=$(grep -v -e "$prefix/" "$work/install.log" | grep -e 'Installing:' -e 'Up-to-date:' || true)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
ok "every file under $prefix"

echo "== the installed program, in a private network on a virtual display"
tools/in-private-net.sh env RIGWISE_PACKAGE_INNER=1 \
    tools/virtual-display.sh "$0" "$root" "Merrow Rigwise $version" "$wmclass"

echo "PASS: the packages ($(( $(date +%s) - started )) s)"
