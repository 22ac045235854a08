#!/usr/bin/env bash
# Checks that every tracked C++ source follows .clang-format; lists the
# offending lines and fails otherwise. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.h' '*.cpp' | xargs -0 -r clang-format --dry-run -Werror
else
    find . -path ./build -prune -o -path './build-*' -prune -o \( -name '*.h' -o -name '*.cpp' \) -print0 |
        xargs -0 -r clang-format --dry-run -Werror
fi
echo "check-format: all sources are formatted"
