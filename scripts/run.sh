#!/usr/bin/env bash
# Builds the program and runs it from the build folder, where its side files lie.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j 2
cd build/release && exec ./norvelia "$@"
