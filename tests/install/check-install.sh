#!/usr/bin/env bash
# Installs the build with prefix /usr into a staging folder (DESTDIR) and checks the result: the
# executables, the menu entry and the software-centre description (both as their validators see
# them), every icon size, the version the editor reports, and that the committed icons are what
# their drawing script makes.
# Usage: check-install.sh <cmake> <build dir> <source dir> <version> <application id> <has cli 0|1>
set -euo pipefail

cmake=$1 build=$2 source=$3 version=$4 id=$5 has_cli=$6
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

DESTDIR="$stage" "$cmake" --install "$build" --prefix /usr >/dev/null
root=$stage/usr

[ -x "$root/bin/evolution-editor" ] || fail "bin/evolution-editor is not installed"
if [ "$has_cli" = 1 ]; then
    [ -x "$root/bin/evolution-table" ] || fail "bin/evolution-table is not installed"
fi

desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
    grep -qx 'Exec=evolution-editor %f' "$desktop" || fail "the menu entry does not pass the file as %f"
    grep -qx 'MimeType=application/x-nintendo-ds-rom;' "$desktop" || fail "the menu entry misses the ROM type"
    grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"
else
    fail "share/applications/$id.desktop is not installed"
fi
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || {
        appstreamcli validate --no-net "$metainfo" >&2 || true
        fail "appstreamcli rejects $id.metainfo.xml"
    }
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the description's release is not $version"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the description does not launch the menu entry"
else
    fail "share/metainfo/$id.metainfo.xml is not installed"
fi

icons=$root/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg" 2>/dev/null || fail "the scalable icon is missing"
for size in 16 22 24 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/$id.png
    if [ ! -f "$png" ]; then
        fail "the ${size}x${size} icon is missing"
        continue
    fi
    # The PNG header's width and height, big-endian at bytes 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [ "$w x $h" = "$size x $size" ] || fail "the ${size}x${size} icon is $w x $h"
done

# Without any display: the version is answered before the window system is reached.
reported=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/evolution-editor" --version 2>/dev/null) ||
    fail "evolution-editor --version failed"
[ "$reported" = "evolution-editor $version" ] || fail "evolution-editor --version says '$reported', not $version"

drawn=$stage/drawn
python3 "$source/tools/app-icon/make_app_icon.py" "$drawn"
diff -r "$drawn" "$source/data/icons" >/dev/null ||
    fail "data/icons differs from what tools/app-icon/make_app_icon.py draws; run it and commit the result"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install: every check passed"
