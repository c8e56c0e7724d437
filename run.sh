#!/usr/bin/env bash
# Builds the program in Release mode, then starts it: its window needs a graphical
# desktop (or a virtual one: xvfb-run ./run.sh). Installs only what the program needs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --program
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_BUILD_TESTS=OFF -DQF_BUILD_BENCH=OFF
cmake --build build/release --target quirefold-batch
exec build/release/src/app/quirefold-batch "$@"
