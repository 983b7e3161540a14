#!/usr/bin/env bash
# Installs the Debian packages Sumdash! needs to build, test and run, when any is missing.
# Sourced by the other scripts; works as root or through sudo. Building is scripts/build.sh.
set -euo pipefail

# A minimal Debian holds little beyond the essential packages, so every program the scripts and
# tests call is named here, even where another package would bring it along.
SUMDASH_PACKAGES=(
    # The compiler and the build.
    build-essential cmake
    # Formatting the C++ sources the one way .clang-format sets (scripts/format.sh); Debian 12's
    # clang-format is version 14.
    clang-format
    qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    # The fact history: Qt's SQLite driver (qt6-base-dev carries the Qt SQL headers).
    libqt6sql6-sqlite
    # The scoreboard server: libsodium's Argon2id for the admin password, Boost.Beast (headers
    # only) for HTTP, Qt's PostgreSQL driver beside the SQLite one, and a PostgreSQL server that
    # the storage tests start in a folder of their own.
    libsodium-dev libboost1.74-dev libqt6sql6-psql postgresql
    # A child's submission in a real browser: Debian's Chromium, its driver and Selenium.
    chromium chromium-driver python3-selenium
    # A private X server with a window manager for the end-to-end tests: Xvfb and xvfb-run
    # (with xauth), setxkbmap, xprop, openbox, and XTEST to type through.
    xvfb xauth
    libxtst-dev x11-xkb-utils x11-utils openbox
    # The screen-reader play: python3 with AT-SPI through GObject introspection, keys through
    # xdotool, a session bus from dbus-run-session; setpriv lets root play it as nobody.
    xdotool python3 python3-gi gir1.2-atspi-2.0 python3-pyatspi at-spi2-core dbus-daemon
    util-linux
    # The desktop entry and metainfo validators, and the Debian package: CPack's Debian
    # generator picks the programs to hand dpkg-shlibdeps with `file`.
    desktop-file-utils appstream dpkg-dev file
)

# Installs those of the packages named that are missing: sumdash_install_packages PACKAGE...
sumdash_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These packages are missing and sudo is not available: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) and run this again." >&2
            return 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Installs every package above that is missing, and any more named: sumdash_install_missing [PACKAGE...]
sumdash_install_missing() {
    sumdash_install_packages "${SUMDASH_PACKAGES[@]}" "$@"
}
