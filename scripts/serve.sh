#!/usr/bin/env bash
# Installs what is missing, builds the scoreboard server and runs it in the foreground on SQLite:
# on 127.0.0.1:8080 unless given --listen ADDRESS:PORT, with its data in ./server-data unless
# given --data FOLDER. On the first start it asks for the moderators' password, or reads it from
# --admin-password-file FILE. Every other option of sumdash-server (--help) passes through.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"

sumdash_install_missing
sumdash_build normal serve
exec "$SUMDASH_ROOT/build/server/app/sumdash-server" "$@"
