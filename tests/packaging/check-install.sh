#!/usr/bin/env bash
# Guards the installed game and scoreboard server: every file in its standard place, and the
# desktop entry and the AppStream metainfo passing their validators.
set -euo pipefail
build_dir="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build_dir" --prefix /usr >/dev/null

expected=(
    usr/bin/sumdash
    usr/share/applications/example.pellmoor.sumdash.desktop
    usr/share/metainfo/example.pellmoor.sumdash.metainfo.xml
    usr/share/man/man6/sumdash.6
    usr/share/icons/hicolor/scalable/apps/sumdash.svg
    usr/share/doc/sumdash/LICENSE-ComicNeue.txt
    usr/share/doc/sumdash/LICENSE-DejaVu.txt
    usr/bin/sumdash-server
    usr/lib/systemd/system/sumdash-server.service
    etc/sumdash-server/server.conf
    usr/share/man/man8/sumdash-server.8
    usr/share/doc/sumdash-server/examples/nginx-sumdash-server.conf
)
for page in index.htm sumdash.htm contact.htm style.css; do
    expected+=("usr/share/sumdash-server/pages/$page")
done
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/sumdash.png")
done
failed=0
for file in "${expected[@]}"; do
    if [ ! -s "$root/$file" ]; then
        echo "missing or empty: /$file"
        failed=1
    fi
done

# Each bitmap icon has the size its folder names (PNG width and height at bytes 16 to 23).
for size in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/sumdash.png"
    [ -s "$png" ] || continue
    dims="$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')"
    be="$((size >> 24 & 255)) $((size >> 16 & 255)) $((size >> 8 & 255)) $((size & 255))"
    want="$be $be"
    if [ "$dims" != "$want" ]; then
        echo "icon $size has the wrong size: $dims"
        failed=1
    fi
done

desktop-file-validate "$root/usr/share/applications/example.pellmoor.sumdash.desktop" \
    | grep -v '^.*: hint:' && failed=1
appstreamcli validate --no-net "$root/usr/share/metainfo/example.pellmoor.sumdash.metainfo.xml" \
    >/dev/null || { echo "appstreamcli rejects the metainfo"; failed=1; }
grep -q '^Icon=sumdash$' "$root/usr/share/applications/example.pellmoor.sumdash.desktop" \
    || { echo "the desktop entry names no icon"; failed=1; }

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "install check: ${#expected[@]} files in place, validators passed"
