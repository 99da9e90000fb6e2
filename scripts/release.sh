#!/usr/bin/env bash
# Makes the downloads of a release into dist/:
#   zmrimage_VERSION_amd64.deb           the Debian 12 package (programs, manual pages,
#                                        desktop entry, AppStream metadata, icons, completion)
#   zmrimage-VERSION-setup.exe           the Windows installer (NSIS)
#   zmrimage-VERSION-windows-x64.zip     the Windows programs without an installer
#   zmrimage-VERSION-web.zip             the web page: a static site for any web server
#   zmrimage-VERSION.tar.gz              the source (git archive of HEAD)
#   SHA256SUMS
#
#   scripts/release.sh [--check] [--allow-dirty]
#
# --check        then installs and uninstalls each as a user would (scripts/test-release.sh)
# --allow-dirty  build from a working tree that differs from HEAD (the test command does);
#                the source tarball then holds the working tree's tracked files
#
# Two runs on the same commit give the same bytes: every date is the last
# commit's (SOURCE_DATE_EPOCH), archive members are sorted, and the programs
# carry no build paths and no link time. The Debian package is built from a
# Release build of its own in build/package; the Windows files from
# build/windows (scripts/build-windows.sh), stripped. Both folders are
# configured afresh (their CMake caches removed), and the compiler flags come
# from dpkg-buildflags in an environment of the script's own, so that neither
# options set by hand in those folders nor the builder's DEB_BUILD_OPTIONS,
# DEB_*_APPEND / _SET / _PREPEND / _STRIP variables or
# ~/.config/dpkg/buildflags.conf reach a release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check=0 allow_dirty=0
for argument in "$@"; do
  case $argument in
    --check) check=1 ;;
    --allow-dirty) allow_dirty=1 ;;
    -h|--help) sed -n '2,26p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release.sh: unknown argument $argument (see --help)" >&2; exit 2 ;;
  esac
done

"$root/scripts/setup.sh"
cd "$root"
if ! git rev-parse --verify -q HEAD >/dev/null; then
  echo "release.sh: $root is not a git checkout with a commit; a release is made from one" >&2
  exit 2
fi
if [[ -n $(git status --porcelain --untracked-files=normal) ]]; then
  if ((!allow_dirty)); then
    echo "release.sh: the working tree differs from HEAD (git status); commit first, or --allow-dirty" >&2
    exit 2
  fi
  echo "release.sh: the working tree differs from HEAD; building it as it is (--allow-dirty)"
fi

# CMake takes these from the environment when it configures a folder afresh.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C.UTF-8
umask 022
stamp() { find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
no_build_paths() {
  local program
  for program in "$@"; do
    if strings -a "$program" | grep -qF "$root"; then
      echo "release.sh: $program holds the build path $root" >&2
      exit 1
    fi
  done
}

package_build="$root/build/package"
windows_build=${ZMR_WINDOWS_BUILD:-$root/build/windows}
work="$root/build/release-files"  # what goes into each download, laid out
out="$work/dist"                  # becomes dist/ once everything is made
rm -rf "$work"
mkdir -p "$out"

# --- Debian package -----------------------------------------------------------
echo "-- Debian package (Release build in build/package)"
# Debian's hardening and path-mapping flags, run from the top folder so that
# -ffile-prefix-map takes the build paths out; no -g, since the programs are
# stripped.
# Nothing of the builder's own: a clean environment, and an empty
# configuration folder in place of ~/.config (dpkg-buildflags reads
# buildflags.conf there).
no_config="$work/no-config"
mkdir -p "$no_config"
buildflags() {
  env -i PATH="$PATH" HOME="$no_config" XDG_CONFIG_HOME="$no_config" LC_ALL=C.UTF-8 \
    DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get "$1"
}
cxxflags="$(buildflags CXXFLAGS) $(buildflags CPPFLAGS)"
ldflags=$(buildflags LDFLAGS)
rm -f "$package_build/CMakeCache.txt"
cmake -S "$root" -B "$package_build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG" \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" -DCMAKE_INSTALL_PREFIX=/usr \
  -DZMR_WERROR=ON -DZMR_BUILD_TESTS=OFF -DZMR_BUILD_BENCH=OFF >/dev/null
cmake --build "$package_build" -j "$(nproc)"
source "$package_build/packaging/release.env"  # ZMR_VERSION, ZMR_PRODUCT_NAME, ...
version=$ZMR_VERSION
echo "== zmrimage $version, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC') =="

deb_root="$work/deb"
DESTDIR="$deb_root" cmake --install "$package_build" >/dev/null
# A build that left something out (no Qt, no pandoc) makes no package.
for file in usr/bin/zmrimage usr/bin/zmrimage-gui usr/share/man/man1/zmrimage.1 usr/share/man/man1/zmrimage-gui.1 \
  usr/share/bash-completion/completions/zmrimage "usr/share/applications/$ZMR_APP_ID.desktop" \
  "usr/share/metainfo/$ZMR_APP_ID.metainfo.xml" usr/share/icons/hicolor/{16x16,32x32,48x48,128x128}/apps/"$ZMR_ICON.png" \
  usr/share/doc/zmrimage/copyright usr/share/doc/zmrimage/changelog; do
  [[ -s $deb_root/$file ]] || { echo "release.sh: the build installed no $file (run scripts/setup.sh)" >&2; exit 1; }
done
doc="$deb_root/usr/share/doc/zmrimage"
strip --remove-section=.comment --remove-section=.note "$deb_root/usr/bin/zmrimage" "$deb_root/usr/bin/zmrimage-gui"
gzip -9n "$deb_root"/usr/share/man/man1/*.1 "$doc/changelog"
no_build_paths "$deb_root/usr/bin/zmrimage" "$deb_root/usr/bin/zmrimage-gui"
desktop-file-validate "$deb_root"/usr/share/applications/*.desktop
appstreamcli validate --no-net --no-color "$deb_root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  appstreamcli validate --no-net --no-color "$deb_root"/usr/share/metainfo/*.metainfo.xml

# Every third-party file of the source needs its own stanza in the copyright.
for song in tests/data/corpus/*; do
  case $song in */CREDITS.md|*/licenses) continue ;; esac
  covered=0
  while read -r pattern; do
    # shellcheck disable=SC2053  # the copyright's patterns are globs
    [[ $song == $pattern ]] && covered=1
  done < <(sed -n -e 's/^Files: *//p' -e 's/^ \(tests\/[^ ]*\)$/\1/p' "$doc/copyright" | tr ' ' '\n' | grep '^tests/')
  ((covered)) || { echo "release.sh: $song has no stanza in packaging/debian/copyright.in" >&2; exit 1; }
done

# The control file: the libraries the programs link, as dpkg-shlibdeps finds
# them, and the installed size, filled in by dpkg-gencontrol.
debian="$work/debian-source"
mkdir -p "$debian/debian" "$deb_root/DEBIAN"
cp "$package_build/packaging/debian/control" "$package_build/packaging/debian/changelog" "$debian/debian/"
(cd "$debian" && dpkg-shlibdeps -Tdebian/substvars "$deb_root/usr/bin/zmrimage" "$deb_root/usr/bin/zmrimage-gui" &&
  dpkg-gencontrol -pzmrimage -P"$deb_root" -Tdebian/substvars -fdebian/files)
(cd "$deb_root" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
find "$deb_root" -type d -exec chmod 0755 {} + && find "$deb_root" -type f -exec chmod 0644 {} +
chmod 0755 "$deb_root"/usr/bin/*
stamp "$deb_root"
deb="$out/zmrimage_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$deb_root" "$deb" >/dev/null
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "-- lintian"
lintian --fail-on error --info "$deb" | tee "$work/lintian.txt"

# --- Windows ------------------------------------------------------------------
echo "-- Windows programs (build/windows)"
rm -f "$windows_build/CMakeCache.txt"  # configured afresh; what it has built is reused where the flags agree
ZMR_WINDOWS_BUILD="$windows_build" "$root/scripts/build-windows.sh" zmrimage zmrimage-gui
files="$work/windows"
mkdir -p "$files"
for program in zmrimage zmrimage-gui; do
  x86_64-w64-mingw32-strip -o "$files/$program.exe" "$windows_build/bin/$program.exe"
  no_build_paths "$files/$program.exe"
  # VERSIONINFO: what Windows shows under Properties > Details.
  for text in "$ZMR_PRODUCT_NAME" "$version" "$program.exe"; do
    strings -el "$files/$program.exe" | grep -qxF "$text" ||
      { echo "release.sh: $program.exe has no \"$text\" in its version information" >&2; exit 1; }
  done
done
# The README as it is (Markdown reads as plain text), with the CR LF line ends
# of Windows' text files.
sed 's/$/\r/' README.md >"$files/README.txt"
sed 's/$/\r/' LICENSE >"$files/LICENSE.txt"
stamp "$files"

echo "-- zip"
zip_name="zmrimage-$version-windows-x64"
mkdir -p "$work/zip/$zip_name"
cp -p "$files"/* "$work/zip/$zip_name/"
stamp "$work/zip"
# -X: no uid, gid or extra times; members in sorted order, dates in UTC.
(cd "$work/zip" && find "$zip_name" -type f | sort | zip -q -X -9 -@ "$out/$zip_name.zip")
echo "$zip_name.zip: $(stat -c %s "$out/$zip_name.zip") bytes"

echo "-- installer (NSIS)"
size_kb=$(du -k --apparent-size -c "$files"/* | tail -1 | cut -f1)
setup="$out/zmrimage-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DPRODUCT=$ZMR_PRODUCT_NAME" \
  "-DPUBLISHER=$ZMR_PUBLISHER" "-DCOPYRIGHT=$ZMR_COPYRIGHT" "-DFILES=$files" \
  "-DINSTALL_SIZE_KB=$size_kb" "-DOUTFILE=$setup" packaging/windows/installer.nsi
echo "$(basename "$setup"): $(stat -c %s "$setup") bytes"

# --- Web page -----------------------------------------------------------------
echo "-- web page (scripts/build-web.sh)"
"$root/scripts/build-web.sh"
web_name="zmrimage-$version-web"
mkdir -p "$work/web/$web_name"
cp "$root"/build/web/site/* "$work/web/$web_name/"
for file in index.html zmrcore.js zmrcore.wasm main.js core_worker.js service_worker.js manifest.webmanifest; do
  [[ -s $work/web/$web_name/$file ]] || { echo "release.sh: the web site has no $file" >&2; exit 1; }
done
no_build_paths "$work/web/$web_name"/*
chmod 0644 "$work/web/$web_name"/*
stamp "$work/web"
(cd "$work/web" && find "$web_name" -type f | sort | zip -q -X -9 -@ "$out/$web_name.zip")
echo "$web_name.zip: $(stat -c %s "$out/$web_name.zip") bytes"

# --- Source -------------------------------------------------------------------
echo "-- source"
tree=HEAD
if ((allow_dirty)); then
  tree=$(git stash create)  # the working tree's tracked files, as a commit; empty when clean
  tree=${tree:-HEAD}
fi
git archive --format=tar --prefix="zmrimage-$version/" "$tree" | gzip -9n >"$out/zmrimage-$version.tar.gz"
echo "zmrimage-$version.tar.gz: $(stat -c %s "$out/zmrimage-$version.tar.gz") bytes"

(cd "$out" && sha256sum -- *.deb *.exe *.zip *.tar.gz >SHA256SUMS)
rm -rf "$root/dist"
mv "$out" "$root/dist"
echo "== dist/ =="
cat "$root/dist/SHA256SUMS"

if ((check)); then
  "$root/scripts/test-release.sh" "$root/dist"
fi
