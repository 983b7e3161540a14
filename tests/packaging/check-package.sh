#!/usr/bin/env bash
# Guards the Debian packages. The game's: its dependencies; that the program unpacked from it
# starts and keeps running on its own (splash, then the main window) without a display; and that
# a child who uses a screen reader can play it through and join the club. The scoreboard
# server's: its files, settings kept as a conffile and dependencies, none shared with the game;
# that the unpacked server answers with the shipped settings; and, where systemd-analyze and
# nginx are at hand, that they accept its unit and its example site.
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
deb="$(ls "$work"/out/sumdash_[0-9]*.deb)"
server_deb="$(ls "$work"/out/sumdash-server_[0-9]*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6sql6-sqlite; do
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

# The scoreboard server's package: the program, its service and its settings, which dpkg keeps
# when an operator has changed them; nothing of the game's.
server_files="$(dpkg-deb -c "$server_deb" | awk '$1 !~ /^d/ {print $6}')"
for needed in ./usr/bin/sumdash-server ./usr/lib/systemd/system/sumdash-server.service \
        ./etc/sumdash-server/server.conf ./usr/share/man/man8/sumdash-server.8 \
        ./usr/share/doc/sumdash-server/examples/nginx-sumdash-server.conf \
        ./usr/share/sumdash-server/pages/index.htm; do
    if ! grep -qxF "$needed" <<<"$server_files"; then
        echo "the server package does not hold $needed"
        failed=1
    fi
done
game_files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}')"
if shared="$(grep -xF -f <(printf '%s\n' "$server_files") <<<"$game_files")"; then
    echo "both packages hold: $shared"
    failed=1
fi
if grep -q 'sumdash-server' <<<"$game_files"; then
    echo "the game's package holds the server's files: $(grep 'sumdash-server' <<<"$game_files")"
    failed=1
fi
dpkg-deb -e "$server_deb" "$work/server-control"
conffiles="$(cat "$work/server-control/conffiles" 2>/dev/null || true)"
if [ "$conffiles" != /etc/sumdash-server/server.conf ]; then
    echo "the server's settings are not its one conffile: ${conffiles:-none}"
    failed=1
fi
server_depends="$(dpkg-deb -f "$server_deb" Depends)"
for needed in libqt6core6 libqt6network6 libqt6sql6 libqt6sql6-sqlite libsodium23; do
    case ", $server_depends," in
        *", $needed "* | *", $needed,"*) ;;
        *) echo "the server package does not depend on $needed: $server_depends"; failed=1 ;;
    esac
done
case "$server_depends" in
    *-dev* | *libqt6gui* | *libqt6widgets*)
        echo "the server package depends on more than it needs: $server_depends"
        failed=1
        ;;
esac

# The unpacked server starts with the shipped settings, its data folder and port aside, and
# answers its front page.
dpkg -x "$server_deb" "$work/server-root"
printf 'a moderator password\n' >"$work/admin-password"
chmod 600 "$work/admin-password"
"$work/server-root/usr/bin/sumdash-server" \
    --config "$work/server-root/etc/sumdash-server/server.conf" --data "$work/server-data" \
    --listen 127.0.0.1:0 --admin-password-file "$work/admin-password" \
    >"$work/server.log" 2>&1 &
server_pid=$!
address=""
for _ in $(seq 200); do
    address="$(sed -n 's|^Sumdash! scoreboard listening on \(http://[^ ]*\)$|\1|p' "$work/server.log")"
    if [ -n "$address" ] || ! kill -0 "$server_pid" 2>/dev/null; then
        break
    fi
    sleep 0.05
done
if [ -z "$address" ]; then
    echo "the unpacked server did not start with the shipped settings:"
    cat "$work/server.log"
    failed=1
elif ! /usr/bin/python3 -c 'import sys, urllib.request; page = urllib.request.urlopen(sys.argv[1], timeout=10).read().decode(); sys.exit("<title>" not in page)' "$address"; then
    echo "the unpacked server did not answer its front page at $address"
    failed=1
fi
kill "$server_pid" 2>/dev/null || true
wait "$server_pid" 2>/dev/null || true

if command -v systemd-analyze >/dev/null; then
    # It passes a setting it ignores with a warning; a warning about the unit fails here.
    unit="$work/server-root/usr/lib/systemd/system/sumdash-server.service"
    if ! verdict="$(systemd-analyze verify --man=no "$unit" 2>&1)" \
            || grep -q 'sumdash-server' <<<"$verdict"; then
        echo "systemd-analyze rejects the server's unit: $verdict"
        failed=1
    fi
else
    echo "no systemd-analyze here: the server's unit was not verified"
fi
nginx="$(command -v nginx || true)"
[ -n "$nginx" ] || [ ! -x /usr/sbin/nginx ] || nginx=/usr/sbin/nginx
if [ -n "$nginx" ]; then
    # Debian's nginx reads a site inside its http block.
    mkdir -p "$work/nginx/logs"
    printf 'pid %s;\nerror_log %s;\nevents {}\nhttp {\n    include %s;\n}\n' \
        "$work/nginx/nginx.pid" "$work/nginx/logs/error.log" \
        "$work/server-root/usr/share/doc/sumdash-server/examples/nginx-sumdash-server.conf" \
        >"$work/nginx/nginx.conf"
    if ! "$nginx" -t -q -p "$work/nginx/" -c "$work/nginx/nginx.conf"; then
        echo "nginx rejects the example site"
        failed=1
    fi
else
    echo "no nginx here: the example site was not tested"
fi

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi
echo "package check: dependencies right, the unpacked program runs and plays for an ordinary user;"
echo "the server's package holds its service and settings, and the unpacked server answers"
