#!/usr/bin/env bash
# Installs and uninstalls the downloads in DIST (default dist/, made by
# scripts/release.sh) as a user would, and checks what each leaves:
#   - the Debian package: apt-get install, the programs, their bytes against the
#     build tree's zmrimage on examples/, the manual pages, the desktop entry,
#     the icons and the completion; then apt-get purge and nothing of it left;
#   - the Windows installer, in a fresh Wine prefix: a silent installation into
#     Program Files and one into a folder given with /D=, each time the
#     installed zmrimage.exe's bytes against Linux, the Start-menu shortcut and
#     the Add or Remove Programs entry; the silent uninstaller and nothing left;
#   - the zip: unpacked, zmrimage.exe --version runs.
#
#   scripts/test-release.sh [DIST]
#
# Run as root (apt-get). The package is installed on this machine for the
# length of the test; one such test runs at a time (a lock in /tmp), and it
# refuses to run where zmrimage is already installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(realpath "${1:-$root/dist}")
source "$root/scripts/virtual-display.sh"
source "$root/build/package/packaging/release.env"  # ZMR_VERSION, ZMR_PRODUCT_NAME, ...
version=$ZMR_VERSION
deb="$dist/zmrimage_${version}_amd64.deb"
setup="$dist/zmrimage-$version-setup.exe"
zip="$dist/zmrimage-$version-windows-x64.zip"
for file in "$deb" "$setup" "$zip"; do
  [[ -f $file ]] || { echo "test-release.sh: no $file (run scripts/release.sh)" >&2; exit 2; }
done

# The bytes every installed program must write: the build tree's zmrimage on
# the examples.
source "$root/scripts/build-options.sh"
cmake -S "$root" -B "$root/build/release" "${ZMR_RELEASE_OPTIONS[@]}" >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target zmrimage
work=$(mktemp -d)
xvfb_pid=""
installed_deb=0
cleanup() {
  if [[ -n ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  ((installed_deb)) && apt-get -o DPkg::Lock::Timeout=600 purge -y -q zmrimage >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
"$root/build/release/zmrimage" build -q -o "$work/expected" "$root/examples"

failed=0
pass() { echo "ok: $*"; }
fail() { echo "FAILED: $*"; failed=1; }
same_files() {  # label folder
  if cmp -s "$work/expected/DADEDA00.DEZ" "$2/DADEDA00.DEZ" && cmp -s "$work/expected/SongList.txt" "$2/SongList.txt"; then
    pass "$1: the same bytes as the build tree's zmrimage ($(stat -c %s "$2/DADEDA00.DEZ") + $(stat -c %s "$2/SongList.txt"))"
  else
    fail "$1: the files differ from the build tree's zmrimage"
  fi
}

echo "-- Debian package: $(basename "$deb")"
exec 9>/tmp/zmrimage-install-test.lock
flock 9
if dpkg-query -W -f='${Status}' zmrimage 2>/dev/null | grep -q 'install ok'; then
  echo "test-release.sh: zmrimage is already installed here; the test installs and purges it" >&2
  exit 2
fi
installed_deb=1
apt-get -o DPkg::Lock::Timeout=600 install -y -q "$deb" >"$work/apt-install.log" 2>&1 ||
  { cat "$work/apt-install.log"; fail "apt-get install $deb"; exit 1; }
pass "apt-get install ./$(basename "$deb")"
[[ $(/usr/bin/zmrimage --version) == "zmrimage $version" ]] && pass "zmrimage --version" || fail "zmrimage --version"
[[ $(QT_QPA_PLATFORM=offscreen /usr/bin/zmrimage-gui --version 2>/dev/null) == "zmrimage-gui $version" ]] &&
  pass "zmrimage-gui --version" || fail "zmrimage-gui --version"
(cd "$work" && /usr/bin/zmrimage build -q -o installed "$root/examples") && same_files "/usr/bin/zmrimage build examples/" "$work/installed" ||
  fail "/usr/bin/zmrimage build examples/"
for page in zmrimage zmrimage-gui; do
  path=$(man -w "$page" 2>/dev/null || true)
  if [[ $path == /usr/share/man/man1/$page.1.gz ]] && man "$page" 2>/dev/null | grep -q "zmrimage $version"; then
    pass "man -w $page: $path"
  else
    fail "man -w $page: '$path'"
  fi
done
desktop="/usr/share/applications/$ZMR_APP_ID.desktop"
if desktop-file-validate "$desktop" && grep -qx "Name=$ZMR_PRODUCT_NAME" "$desktop" &&
  command -v "$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" >/dev/null && grep -qx "Icon=$ZMR_ICON" "$desktop"; then
  pass "desktop entry $desktop"
else
  fail "desktop entry $desktop"
fi
for size in 16 32 48 128; do
  icon="/usr/share/icons/hicolor/${size}x$size/apps/$ZMR_ICON.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
done
appstreamcli validate --no-net "/usr/share/metainfo/$ZMR_APP_ID.metainfo.xml" >/dev/null &&
  pass "AppStream metadata" || fail "AppStream metadata"
# As an interactive bash loads it: bash-completion finds the file by the
# command's name on the first Tab.
offered=$(bash -c 'source /usr/share/bash-completion/bash_completion
  _completion_loader zmrimage
  COMP_WORDS=(zmrimage build --med); COMP_CWORD=2; $(complete -p zmrimage | sed "s/.*-F \([^ ]*\) .*/\1/")
  echo "${COMPREPLY[*]}"' 2>&1)
[[ $offered == --medium ]] && pass "bash completion: zmrimage build --med<Tab> gives --medium" ||
  fail "bash completion: zmrimage build --med<Tab> gives '$offered'"

listed=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$')
apt-get -o DPkg::Lock::Timeout=600 purge -y -q zmrimage >"$work/apt-purge.log" 2>&1 ||
  { cat "$work/apt-purge.log"; fail "apt-get purge zmrimage"; }
installed_deb=0
left=$(for file in $listed; do if [[ -e $file || -L $file ]]; then echo "$file"; fi; done)
[[ -d /usr/share/doc/zmrimage ]] && left+=" /usr/share/doc/zmrimage"
if [[ -z ${left// /} ]] && ! dpkg-query -W zmrimage >/dev/null 2>&1; then
  pass "apt-get purge zmrimage: nothing of its $(wc -w <<<"$listed") files left"
else
  fail "apt-get purge zmrimage left: $left"
fi
exec 9>&-

echo "-- Windows installer under Wine: $(basename "$setup") ($(stat -c %s "$setup") bytes)"
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEARCH=win64
# No menu entries on this machine's desktop from the shortcut, and no prompts
# for Wine's .NET and HTML engines.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
start_virtual_display 1024x768 "$work"
wineboot --init >/dev/null 2>&1
wineserver -w
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\'"$ZMR_PRODUCT_NAME"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$ZMR_PRODUCT_NAME.lnk"
registry_value() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }

# Installs with the installer's arguments $2..., into the Windows folder $1,
# checks, uninstalls and checks that nothing is left.
install_and_uninstall() {
  local folder=$1; shift
  local unix
  # Through cmd, as an administrator types it: /D= takes the rest of the
  # command line, spaces and all, unquoted.
  wine cmd /c "$(winepath -w "$setup") /S $*" >/dev/null 2>&1 || fail "setup.exe /S $*: status $?"
  wineserver -w
  unix=$(winepath -u "$folder" 2>/dev/null)
  for file in zmrimage.exe zmrimage-gui.exe README.txt LICENSE.txt uninstall.exe; do
    [[ -f $unix/$file ]] || fail "setup.exe /S $*: no $folder\\$file"
  done
  wine "$folder\\zmrimage.exe" build -q -o "$(winepath -w "$work/windows-$#")" "$(winepath -w "$root/examples")" \
    >/dev/null 2>&1 || fail "the installed zmrimage.exe build examples/"
  same_files "$folder\\zmrimage.exe build examples/" "$work/windows-$#"
  if [[ -f $shortcut ]] && iconv -f UTF-16LE -t UTF-8 <"$shortcut" 2>/dev/null | grep -qaF "zmrimage-gui.exe" ||
    grep -qaF "zmrimage-gui.exe" "$shortcut" 2>/dev/null; then
    pass "Start-menu shortcut to zmrimage-gui.exe"
  else
    fail "no Start-menu shortcut to zmrimage-gui.exe at $shortcut"
  fi
  local expected=(DisplayName "$ZMR_PRODUCT_NAME" DisplayVersion "$version" Publisher "$ZMR_PUBLISHER"
    InstallLocation "$folder" UninstallString "\"$folder\\uninstall.exe\"")
  local i value
  for ((i = 0; i < ${#expected[@]}; i += 2)); do
    value=$(registry_value "${expected[i]}")
    [[ $value == "${expected[i + 1]}" ]] || fail "registry ${expected[i]} is '$value', expected '${expected[i + 1]}'"
  done
  value=$(registry_value EstimatedSize)
  [[ $value =~ ^0x[0-9a-f]+$ ]] && ((value > 0)) || fail "registry EstimatedSize is '$value'"
  pass "Add or Remove Programs entry: $(registry_value DisplayName) $(registry_value DisplayVersion), $((value)) KB"

  wine "$folder\\uninstall.exe" /S >/dev/null 2>&1 || fail "uninstall.exe /S: status $?"
  wineserver -w  # the uninstaller runs on from a copy of itself
  if [[ ! -e $unix ]] && [[ ! -e $shortcut ]] && ! wine reg query "$key" >/dev/null 2>&1; then
    pass "uninstall.exe /S: folder, shortcut and registry entry gone"
  else
    fail "uninstall.exe /S left: $([[ -e $unix ]] && echo "$folder") $([[ -e $shortcut ]] && echo shortcut)" \
      "$(wine reg query "$key" >/dev/null 2>&1 && echo "registry entry")"
  fi
}
install_and_uninstall "C:\\Program Files\\$ZMR_PRODUCT_NAME"
install_and_uninstall 'C:\Karaoke Tools\ZMR' '/D=C:\Karaoke Tools\ZMR'

echo "-- zip: $(basename "$zip")"
mkdir -p "$work/unzipped"
unzip -q "$zip" -d "$work/unzipped"
programs="$work/unzipped/zmrimage-$version-windows-x64"
answer=$(wine "$programs/zmrimage.exe" --version 2>/dev/null | tr -d '\r')
[[ $answer == "zmrimage $version" ]] && pass "zmrimage.exe --version from the zip: $answer" ||
  fail "zmrimage.exe --version from the zip: '$answer'"
[[ -f $programs/zmrimage-gui.exe && -f $programs/README.txt && -f $programs/LICENSE.txt ]] &&
  pass "the zip holds zmrimage-gui.exe, README.txt and LICENSE.txt" || fail "the zip lacks a file"

exit "$failed"
