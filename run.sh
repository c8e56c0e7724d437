#!/usr/bin/env bash
# Builds the program in Release mode, then starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQF_BUILD_TESTS=OFF -DQF_BUILD_BENCH=OFF
cmake --build build/release --target quirefold-batch
exec build/release/src/app/quirefold-batch "$@"
