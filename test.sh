#!/usr/bin/env bash
# Builds everything once with AddressSanitizer and UndefinedBehaviorSanitizer, then runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DQF_SANITIZE=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
