#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer and
# runs it; any report fails. Suppressions (tests/lsan.supp) cover only reports inside Qt or system libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset asan
cmake --build --preset asan -j 2
ctest --preset asan "$@"
