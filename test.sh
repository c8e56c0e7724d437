#!/usr/bin/env bash
# Builds everything once with AddressSanitizer and UndefinedBehaviorSanitizer, then runs every test.
# Debug information is line tables only (-g1): sanitizer reports keep their files and lines, and
# the build stays quick on a small machine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh  # what the program needs and what the tests add
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DQF_SANITIZE=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
