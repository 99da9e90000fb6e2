#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests, the benchmarks,
# the fuzzers and the screenshot script need. Run as root on a fresh machine.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # command line and read-back tools
  libcli11-dev nlohmann-json3-dev
  # UTF-8 and Windows-1258 lyrics: ICU's converters and normaliser
  libicu-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the dialog, and its tests on the offscreen platform
  qt6-base-dev qt6-qpa-plugins
  # the disc: ISO 9660 images (libisofs), and xorriso, which reads them back in the tests
  libisofs-dev xorriso
  # the song book: Vietnamese collation (ICU, above), PDF through cairo and pango, a font that
  # holds every Vietnamese letter, and poppler's pdfinfo/pdftotext/pdftoppm for its tests
  libpango1.0-dev libcairo2-dev fonts-dejavu-core poppler-utils
  # play and render: FluidSynth, libsndfile to write WAV, FLAC and Ogg, ALSA's headers to keep
  # its messages off the play screen, General MIDI SoundFonts: fluid-soundfont-gm for the default
  # /usr/share/sounds/sf2/default-GM.sf2, and the small timgm6mb-soundfont that the tests play
  libfluidsynth-dev libsndfile1-dev libasound2-dev fluid-soundfont-gm timgm6mb-soundfont
  # the locale vi_VN.UTF-8 (a decimal comma) that the song book's PDF is also tested under
  locales
  # the fuzz targets (libFuzzer), whose smoke test the test script runs
  clang libclang-rt-14-dev
  # the Windows programs: cross-compiled, then tested under Wine on a virtual display
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool
  # the web page: the core compiled to WebAssembly (Emscripten, which brings Node); npm for the
  # page's packages (pinned in web/package-lock.json) is checked for below
  emscripten
  # the web page's browser test: Debian's Chromium, driven headless by playwright-core from npm
  chromium
  # the manual pages, made from docs/*.1.md
  pandoc
  # releases (scripts/release.sh): the Debian package (dpkg-shlibdeps, dpkg-gencontrol), its
  # checks (lintian, desktop-file-validate, appstreamcli), the Windows installer (makensis)
  # and zip; installing them as a user would: apt's man (man -w) and bash-completion
  dpkg-dev lintian desktop-file-utils appstream nsis zip unzip man-db bash-completion
)
if [[ "${ZMR_SETUP_SCREENSHOT:-0}" == 1 ]]; then
  packages+=(xauth imagemagick)  # pictures of the dialog on the virtual display
  packages+=(fonts-wine)  # the Win32 dialog's caption and close box under Wine
fi
if [[ "${ZMR_SETUP_BENCH:-0}" == 1 ]]; then
  # bench/speed.sh's yardsticks and its peak-memory measure; nothing builds with them
  packages+=(midicsv ncompress time)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=""
[[ $(id -u) -ne 0 ]] && SUDO="sudo"
if ((${#missing[@]})); then
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# npm installs the web page's packages. A machine whose Node came with its own npm has the
# command already (and Debian's npm package would conflict with that Node); elsewhere Debian's.
if ! command -v npm >/dev/null; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends npm
fi

# The dialog runs under the user's locale; the song book's test draws a PDF
# under Vietnamese conventions, whose decimal mark is a comma.
if ! locale -a 2>/dev/null | grep -qix 'vi_VN\.utf-\?8'; then
  $SUDO localedef -i vi_VN -f UTF-8 vi_VN.UTF-8
fi
