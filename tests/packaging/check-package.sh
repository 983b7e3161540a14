#!/usr/bin/env bash
# Guards the Debian package: its dependencies, and that the program unpacked from it starts
# and keeps running on its own (splash, then the main window) without a display.
set -euo pipefail
build_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0

(cd "$build_dir" && cpack -G DEB -B "$work/out" >/dev/null)
deb="$(ls "$work"/out/sumdash_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    case "$depends" in
        *"$needed"*) ;;
        *) echo "the package does not depend on $needed: $depends"; failed=1 ;;
    esac
done
case "$depends" in
    *-dev*) echo "the package depends on a development package: $depends"; failed=1 ;;
esac

dpkg -x "$deb" "$work/root"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
status=0
QT_QPA_PLATFORM=offscreen timeout 6 "$work/root/usr/bin/sumdash" >"$work/log" 2>&1 || status=$?
# Still running when the time was up: started, showed its splash for three seconds and went on.
if [ "$status" -ne 124 ]; then
    echo "the unpacked program ended by itself with status $status:"
    cat "$work/log"
    failed=1
fi

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "package check: dependencies right, the unpacked program runs"
