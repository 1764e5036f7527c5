#!/usr/bin/env bash
# The installed files and the Debian package, checked with the tools a
# distribution checks them with. Arguments: the build folder, the source folder.
set -euo pipefail
BUILD=$1
SRC=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

echo "== cmake --install"
DESTDIR="$work/stage" cmake --install "$BUILD" --prefix /usr >/dev/null
root=$work/stage/usr
for f in bin/zenkoro share/applications/zenkoro.desktop share/icons/hicolor/scalable/apps/zenkoro.svg \
         share/icons/hicolor/48x48/apps/zenkoro.png share/metainfo/org.zenkoro.Zenkoro.metainfo.xml \
         share/man/man1/zenkoro.1.gz share/dbus-1/interfaces/org.zenkoro.Zenkoro1.xml; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
# Every data file (help texts, sound), whatever data/ holds.
for f in "$SRC"/data/*; do
  cmp -s "$f" "$root/share/zenkoro/$(basename "$f")" || fail "data file not installed: $(basename "$f")"
done
file "$root/share/icons/hicolor/48x48/apps/zenkoro.png" | grep -q '48 x 48' || fail "the PNG icon is not 48 x 48"

echo "== desktop-file-validate"
desktop-file-validate "$root/share/applications/zenkoro.desktop" || fail "desktop-file-validate"
icon=$(sed -n 's/^Icon=//p' "$root/share/applications/zenkoro.desktop")
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon '$icon' is not installed"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net "$root/share/metainfo/org.zenkoro.Zenkoro.metainfo.xml" || fail "appstreamcli validate"

echo "== man pages"
# English in man1, Japanese in ja/man1; each names every option and parameter.
# Rendered as man-db renders them (a plain "-" would come out as a hyphen, not
# the minus an option is typed with).
for lang in en ja; do
  manpage=$root/share/man/man1/zenkoro.1.gz
  [ $lang = en ] || manpage=$root/share/man/$lang/man1/zenkoro.1.gz
  [ -f "$manpage" ] || { fail "not installed: $manpage"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -E UTF-8 -l -Tutf8 -Z "$manpage" 2>&1 >/dev/null) || true
  [ -z "$warnings" ] || fail "man page ($lang) warnings: $warnings"
  page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$manpage" 2>/dev/null)
  # Every long option of --help.
  for opt in $("$BUILD/src/zenkoro" --lang $lang --help | grep -oE '^  --[a-z-]+'); do
    grep -qE -- "(^|[ ,])$opt([ ,=]|$)" <<<"$page" || fail "man page ($lang) lacks $opt"
  done
  # Every parameter name the parser knows; the first name of each branch (not
  # the one-letter aliases) with an example command line.
  while IFS= read -r line; do
    first=1
    for name in $(grep -oE 'n == u"[a-z_]+"' <<<"$line" | sed -E 's/.*"(.*)"/\1/'); do
      grep -qE -- "(^|[ ,])-$name([ ,]|$)" <<<"$page" || fail "man page ($lang) lacks -$name"
      if [ $first = 1 ]; then
        grep -qE -- "zenkoro .*-$name( |$)" <<<"$page" || fail "man page ($lang) has no example of -$name"
        first=0
      fi
    done
  done < <(grep -E 'n == u"' "$SRC/src/core/command_line.cpp")
  eval "page_$lang=\$page"
done
[ -n "$(grep -oE 'n == u"' "$SRC/src/core/command_line.cpp")" ] || fail "no parameter names found in the parser"

echo "== cpack"
cpack -G DEB -B "$work/pkg" --config "$BUILD/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/zenkoro_*.deb)
dpkg-deb -I "$deb" | sed -n '/Package:/,$p'
# Computed from the binary, not listed by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6; do
  grep -qE "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# Loaded at run time, so listed by hand: the Wayland plugin and a Japanese font.
grep -qE "(^|, )qt6-wayland(,|$)" <<<"$depends" || fail "Depends lacks qt6-wayland: $depends"
grep -qE "(^|, )fonts-noto-cjk \| " <<<"$depends" || fail "Depends names no Japanese font: $depends"

# One licence in the source, the package's copyright file and the metainfo.
grep -q 'GNU GENERAL PUBLIC LICENSE' "$SRC/LICENSE" && grep -q 'Version 3' "$SRC/LICENSE" || fail "LICENSE is not the GPL 3"
grep -qx 'License: GPL-3+' "$root/share/doc/zenkoro/copyright" || fail "the copyright file does not name GPL-3+"
grep -qF '<project_license>GPL-3.0-or-later</project_license>' "$root/share/metainfo/org.zenkoro.Zenkoro.metainfo.xml" ||
  fail "the metainfo does not name the licence"
grep -qF '<url type="homepage">' "$root/share/metainfo/org.zenkoro.Zenkoro.metainfo.xml" || fail "the metainfo has no home page"

# The version written by hand in the changelog and the AppStream releases
# follows the project's.
pkgversion=$(dpkg-deb -f "$deb" Version)
zcat "$root/share/doc/zenkoro/changelog.gz" | sed -n 1p | grep -qF "zenkoro ($pkgversion)" ||
  fail "packaging/changelog does not begin with version $pkgversion"
grep -qF "<release version=\"$pkgversion\"" "$root/share/metainfo/org.zenkoro.Zenkoro.metainfo.xml" ||
  fail "the metainfo has no release $pkgversion"
for page in "$page_en" "$page_ja"; do
  grep -qF "zenkoro $pkgversion" <<<"$page" || fail "a man page does not name version $pkgversion"
done

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

echo "== the unpacked package runs"
dpkg-deb -x "$deb" "$work/root"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/zenkoro" --version) || fail "zenkoro --version"
echo "$version"
grep -qx "help texts: $work/root/usr/share/zenkoro" <<<"$version" || fail "the unpacked program does not find its help texts"

if [ $failures -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "packaging checks passed"
