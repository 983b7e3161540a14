#!/usr/bin/env bash
# Guards the Debian package: its dependencies; that the program unpacked from it starts and
# keeps running on its own (splash, then the main window) without a display; and that a child
# who uses a screen reader can play it through and join the club.
set -euo pipefail
build_dir="$1"
# Root hands part of this folder to an unprivileged player below, who must be able to reach it:
# /tmp is open to everyone, where root's own TMPDIR may not be.
if [ "$(id -u)" -eq 0 ]; then
    work="$(mktemp -d -p /tmp)"
else
    work="$(mktemp -d)"
fi
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
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

# Played from the installed files by an ordinary user, with a screen reader's eyes: the program
# folder is not theirs to write, so the club file must land in their own data folder.
# The player gets nothing outside this folder: the source tree may lie where only its owner
# may enter (root's home, or any private home folder), so the scripts it runs are copied in.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tools="$work/tools"
mkdir -p "$tools"
cp "$here/../e2e/with-x-server.sh" "$here/play-with-screen-reader.py" "$tools/"
chmod 755 "$tools" "$tools/with-x-server.sh" "$tools/play-with-screen-reader.py"
player_home="$work/player"
mkdir -p "$player_home/run" "$player_home/tmp"
chmod 700 "$player_home/run"
chmod -R a+rX "$work/root"
chmod -R a-w "$work/root"
chmod 755 "$work"
as_player=()
if [ "$(id -u)" -eq 0 ]; then
    # Root may write anywhere; the child plays as nobody instead.
    chown -R 65534:65534 "$player_home"
    as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# It starts in its own home, with its own temporary folder, as the test's may be closed to it.
if ! (cd "$player_home" && "${as_player[@]}" env HOME="$player_home" \
        XDG_CONFIG_HOME="$player_home/.config" XDG_DATA_HOME="$player_home/.local/share" \
        XDG_RUNTIME_DIR="$player_home/run" TMPDIR="$player_home/tmp" \
        timeout 240 "$tools/with-x-server.sh" \
        dbus-run-session -- /usr/bin/python3 "$tools/play-with-screen-reader.py" \
        "$work/root/usr/bin/sumdash" "Kim") >"$work/play.log" 2>&1; then
    echo "playing the installed game with a screen reader failed:"
    grep -v -e 'fd limit' -e 'dbus-daemon\[' "$work/play.log"
    failed=1
else
    grep '^screen reader:' "$work/play.log"
fi
club="$player_home/.local/share/Pellmoor/Sumdash/SumdashClub.sdc"
if ! [ -f "$club" ]; then
    echo "no club file in the player's data folder: $(find "$work" -name 'SumdashClub.sdc')"
    failed=1
else
    # Each byte is stored 7 above its value.
    line="$(/usr/bin/python3 -c 'import sys; print(bytes(b - 7 for b in open(sys.argv[1], "rb").read().rstrip(b"\r\n")).decode())' "$club")"
    case "$line" in
        "Kim^|^"*"^|^Random^|^") echo "the club in the player's data folder: $line" ;;
        *) echo "the club file holds $line"; failed=1 ;;
    esac
fi
if ! grep -q 'Screen Reader' "$player_home/.config/Pellmoor/Pellmoor.ini" 2>/dev/null; then
    echo "the top time was not saved in the player's settings"
    failed=1
fi

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "package check: dependencies right, the unpacked program runs and plays for an ordinary user"
