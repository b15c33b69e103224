#!/usr/bin/env bash
# The checks a reviewer would otherwise make by eye, on our own C++: the formatting of the
# root .clang-format, and clang-tidy with the root .clang-tidy over the program's sources
# (the dev build's compile commands; build it first). Exits non-zero on any finding.
# Usage: tools/lint.sh
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
echo "lint: every file formatted as .clang-format says"
# GCC's warning names mean nothing to clang: it is told to pass over them.
run-clang-tidy-14 -p build/dev -quiet -extra-arg=-Wno-unknown-warning-option \
    "^$(pwd)/(app|game|screen|panel|platform)/" >build/dev/tidy.log 2>&1 ||
    { sed 's/\x1b\[[0-9;]*m//g' build/dev/tidy.log | grep -E 'error:|warning:' | sort -u; exit 1; }
echo "lint: clang-tidy finds nothing in the program's sources"
