#!/usr/bin/env bash
# Builds the live-spelling tests with ThreadSanitizer (in build/tsan, beside the CI's
# build) and runs them, several times over: the live-spelling thread and the view's
# thread must share the document without a data race. The editor's random oracles and
# its tests of cells edited in place run too: every edit they make starts the editor's
# live spelling, so they walk each edit path against a running thread. Not part of
# ./test.sh, whose time it would double; run it after changes to the live-spelling
# thread, the document's pause bracket or the platform's threads.
#   scripts/tsan-live-spelling.sh [repeat]
set -euo pipefail
cd "$(dirname "$0")/.."
repeat=${1:-5}
build=build/tsan
export CCACHE_DIR=${CCACHE_DIR:-/work/.ccache}
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" \
  -DQF_SANITIZE=OFF -DQF_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${JOBS:-4}" --target test_platform-base test_richtext-layout test_richtext-table \
  test_richtext-edit
# A report fails the run (exit code 66) instead of only being printed.
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan-qt.supp"
"$build"/tests/platform/base/test_platform-base --gtest_filter='ThreadsTest.*' --gtest_repeat="$repeat"
"$build"/tests/richtext/layout/test_richtext-layout \
  --gtest_filter='RPThreadTest.*:RPLiveSpellingPeerTest.*' --gtest_repeat="$repeat"
"$build"/tests/richtext/table/test_richtext-table --gtest_filter='RPTableSpellingTest.*' --gtest_repeat="$repeat"
"$build"/tests/richtext/edit/test_richtext-edit \
  --gtest_filter='RPUndoOracle*:RPTableInplaceTest.*:RPLiveSpellingEditTest.*:RPTableUndoTest.*' \
  --gtest_repeat="$repeat"
echo "ThreadSanitizer found no race in $repeat runs of the live-spelling tests."
