#!/bin/sh
# Installs the built program into a scratch root and packs it, then checks what a desktop and
# Debian see: the files in their places, the entry and AppStream data valid, the installed
# program starting from its entry, the package's fields and files, and the Windows resources.
set -eu
build=$1
appid=$2
tests=$(cd "$(dirname "$0")" && pwd)
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

expected=$(cat <<LIST
/usr/bin/pythagorean-triples
/usr/share/applications/$appid.desktop
/usr/share/icons/hicolor/128x128/apps/$appid.png
/usr/share/icons/hicolor/256x256/apps/$appid.png
/usr/share/icons/hicolor/32x32/apps/$appid.png
/usr/share/icons/hicolor/48x48/apps/$appid.png
/usr/share/icons/hicolor/64x64/apps/$appid.png
/usr/share/icons/hicolor/scalable/apps/$appid.svg
/usr/share/metainfo/$appid.metainfo.xml
/usr/share/pythagorean-triples/endpinpon.wav
/usr/share/pythagorean-triples/pinpon.wav
LIST
)

echo "-- install into a scratch root"
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
installed=$(cd "$work/root" && find . -type f | sed 's/^\.//' | LC_ALL=C sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$installed"

echo "-- desktop entry and AppStream data"
entry=$work/root/usr/share/applications/$appid.desktop
desktop-file-validate "$entry"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$appid.metainfo.xml"
grep -qx 'Name\[ja\]=ピタゴラス数' "$entry" || fail "no Japanese name"
grep -qx 'Categories=Education;Math;' "$entry" || fail "categories"
grep -qx "Icon=$appid" "$entry" || fail "icon name"
for size in 32 48 64 128 256; do
    png=$work/root/usr/share/icons/hicolor/${size}x${size}/apps/$appid.png
    head -c 24 "$png" | od -An -tx1 | tr -d ' \n' | grep -q "$(printf '%08x%08x' "$size" "$size")\$" ||
        fail "the ${size}px icon is not ${size} x ${size}"
done

echo "-- the installed program started as its entry says, in a clean environment"
exec_path=$(sed -n 's/^Exec=//p' "$entry")
cue_dir=$(sed -n 's/^Path=//p' "$entry")
[ "$exec_path" = /usr/bin/pythagorean-triples ] || fail "Exec=$exec_path"
[ "$cue_dir" = /usr/share/pythagorean-triples ] || fail "Path=$cue_dir"
[ -s "$work/root$cue_dir/pinpon.wav" ] && [ -s "$work/root$cue_dir/endpinpon.wav" ] || fail "no cues in $cue_dir"
status=0
(cd "$work/root$cue_dir" && env -i HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
    timeout 3 "$work/root$exec_path" 2>"$work/stderr") || status=$?
[ "$status" -eq 124 ] || { cat "$work/stderr"; fail "the program ended by itself with $status"; }
[ ! -s "$work/stderr" ] || { cat "$work/stderr"; fail "the program complained"; }

if [ -n "${DISPLAY:-}" ]; then
    # Read over the accessibility bus and driven to Next, Exit and Yes: Exit opens its cue from
    # the entry's Path, and a cue that is not found there says so on stderr.
    status=0
    (cd "$work/root$cue_dir" && env -i HOME="$work" XDG_RUNTIME_DIR="$work" PATH=/usr/bin:/bin \
        DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" \
        sh "$tests/atspi_test.sh" "$work/root$exec_path" "$tests/atspi_walk.py" \
        >"$work/atspi.out" 2>"$work/atspi.err") || status=$?
    case $status in
    0)
        if grep -q 'is silent' "$work/atspi.err"; then cat "$work/atspi.err"; fail "the installed program did not find its cues"; fi
        echo "the installed program, driven over AT-SPI from its entry's Path, found its cues" ;;
    77) echo "AT-SPI not available here: cues checked by file only" ;;
    *) cat "$work/atspi.out" "$work/atspi.err"; fail "the installed program failed over AT-SPI" ;;
    esac
fi

echo "-- Debian package"
cpack -G DEB -B "$work/pkg" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$work/pkg"/pythagorean-triples_1.0.0.0_*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pythagorean-triples ] || fail "Package"
[ "$(field Version)" = 1.0.0.0 ] || fail "Version"
[ "$(field Section)" = education ] || fail "Section"
for dep in fonts-ipafont-gothic qt6-qpa-plugins libqt6widgets6 libqt6multimedia6 libsndfile1 libc6; do
    field Depends | tr ',' '\n' | grep -q "^ *$dep\b" || fail "Depends lacks $dep: $(field Depends)"
done
packed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's/^\.//' | LC_ALL=C sort)
[ "$packed" = "$expected" ] || fail "packed files differ:
$packed"

echo "-- Windows resources"
if command -v i686-w64-mingw32-windres >/dev/null; then
    i686-w64-mingw32-windres --preprocessor=cpp -i "$build/pythagorean-triples.rc" -O res -o "$work/app.res"
    i686-w64-mingw32-windres -i "$work/app.res" -O rc -o "$work/back.rc"
    for line in 'LANGUAGE 17, 1' 'FILEVERSION 1, 0, 0, 0' 'PRODUCTVERSION 1, 0, 0, 0' \
        'VALUE "ProductVersion", "1.00"' 'VALUE "Translation", 0x411, 1200' \
        '30001 3 /\* RT_ICON \*/' '1 14 /\* RT_GROUP_ICON \*/'; do
        grep -q "$line" "$work/back.rc" || fail "resources lack: $line"
    done
    grep -q ', 1, 24, .*30001' "$work/back.rc" || fail "group 1 does not name a 24-bit icon 30001"
else
    echo "windres is not installed: resources not checked"
fi
echo "packaging: all checks passed"
