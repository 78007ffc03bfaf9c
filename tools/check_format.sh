#!/bin/bash
# Fails on every source file that is not in the house style (.clang-format at the top).
# Usage: check_format.sh [source-root]
set -uo pipefail
root=$(cd "${1:-$(dirname "$0")/..}" && pwd)
command -v clang-format >/dev/null || { echo "clang-format is not installed (the set-up installs it)"; exit 1; }
files=()
while IFS= read -r -d '' f; do files+=("$f"); done \
  < <(find "$root" \( -name 'build*' -o -name '.*' \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print0)
# One run over every file; each place out of style is reported as "<file>:<line>:<col>: error".
bad=$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1 | sed -n 's|^\(/[^:]*\):[0-9]*:[0-9]*: error.*|\1|p' | sort -u)
if [ -n "$bad" ]; then
  echo "not in the house style (clang-format -i):"
  echo "$bad" | sed "s|^$root/|  |"
  exit 1
fi
echo "${#files[@]} source files, every one in the house style"
