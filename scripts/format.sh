#!/usr/bin/env bash
# Formats every C++ source and header git tracks (*.cpp, *.h, *.h.in) the way .clang-format
# sets, with Debian 12's clang-format 14. With --check it changes nothing: it lists the files
# that are not formatted and fails when there is any.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"

check=false
case "${1:-}" in
    --check) check=true ;;
    "") ;;
    *)
        echo "usage: scripts/format.sh [--check]" >&2
        exit 2
        ;;
esac

sumdash_install_packages clang-format git
# Each version of clang-format lays code out a little differently; one version keeps the tree
# and the check in agreement.
version="$(clang-format --version | grep -o 'version [0-9]*' | grep -o '[0-9]*$')"
if [ "$version" != 14 ]; then
    echo "scripts/format.sh needs clang-format 14 (Debian 12's); this one is $version" >&2
    exit 2
fi

cd "$SUMDASH_ROOT"
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' '*.h.in')
# An empty list would pass the check without looking at anything.
if [ "${#files[@]}" -eq 0 ]; then
    echo "format: git lists no C++ files here; run this in the project's git checkout" >&2
    exit 2
fi

if ! "$check"; then
    clang-format -i --style=file "${files[@]}"
    echo "format: ${#files[@]} files formatted"
    exit 0
fi

unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --style=file "$file" | cmp -s - "$file"; then
        unformatted+=("$file")
    fi
done
if [ "${#unformatted[@]}" -ne 0 ]; then
    echo "format: ${#unformatted[@]} of ${#files[@]} files are not formatted (scripts/format.sh formats them):"
    printf '    %s\n' "${unformatted[@]}"
    exit 1
fi
echo "format: all ${#files[@]} files formatted"
