#!/usr/bin/env bash
# REGENERATES the expected page-break dumps and painted-page images of the report tests
# (tests/data/richtext/pages) from the code as it is now. Run it only deliberately, after
# a change that is meant to move page breaks or pixels; then check every changed file by
# hand (git diff; view the PNG files) before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
cmake --build "$build" --target test_richtext-layout test_richtext-table test_richtext-interchange
mkdir -p tests/data/richtext/pages
echo "Overwriting the expected files in tests/data/richtext/pages ..."
QF_REGENERATE_GOLDEN=1 "$build"/tests/richtext/layout/test_richtext-layout --gtest_filter='*/RPPageGolden*:*/RPPageImage*'
QF_REGENERATE_GOLDEN=1 "$build"/tests/richtext/table/test_richtext-table --gtest_filter='*RPTablePageImage*:*RPTablePrintedCells*'
QF_REGENERATE_GOLDEN=1 "$build"/tests/richtext/interchange/test_richtext-interchange --gtest_filter='RPRTFImportPage*'
git status --short tests/data/richtext/pages
echo "Check each changed file by hand before committing it."
