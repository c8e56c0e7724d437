#!/usr/bin/env bash
# REGENERATES the expected page images of the driver's tests (tests/data/convert/pages)
# from the code as it is now: books are written, read back and their pages decoded. Run
# it only deliberately, after a change that is meant to move pixels of rendered pages;
# then view every changed PNG file by hand before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
cmake --build "$build" --target test_convert
mkdir -p tests/data/convert/pages
echo "Overwriting the expected files in tests/data/convert/pages ..."
QF_REGENERATE_GOLDEN=1 "$build"/tests/convert/test_convert --gtest_filter='Pages/FB2WolConvertorPageImage*'
git status --short tests/data/convert/pages
echo "Check each changed file by hand before committing it."
