#!/usr/bin/env bash
# Builds the .deb from the build directory $1 (project version $2), checks it with lintian (no
# error, no warning), that the version agrees everywhere it is written, that the browser page is
# in it, its contents, documentation and desktop metadata, and starts the programs it holds: from
# the unpacked package always, and, in CI (or with KVELMOR_TEST_INSTALL=1, as root), installed with
# apt-get and started from the menu entry.
. "$(dirname "$0")/testlib.sh"
build=$1
version=$2

(cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/kvelmor_*.deb)
id=org.example.kvelmor
listing=$(dpkg-deb -c "$deb")
for f in usr/bin/kvelmor usr/bin/kvelmor-export usr/share/applications/$id.desktop \
         usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml \
         usr/share/doc/kvelmor/copyright usr/share/doc/kvelmor/changelog.gz \
         usr/share/man/man1/kvelmor.1.gz usr/share/man/man1/kvelmor-export.1.gz \
         usr/share/man/cs/man1/kvelmor.1.gz usr/share/man/cs/man1/kvelmor-export.1.gz \
         usr/share/kvelmor/kvelmor.html; do
  grep -q " \./$f\$" <<<"$listing" || fail "$f is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency on Qt"
dpkg-deb -f "$deb" Description | awk 'length > 80 { exit 1 }' || fail "a description line is too long"

# Debian's own checks. Every tag of severity error or warning fails; none is overridden.
if ! report=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1); then
  grep -v '^running with root privileges' <<<"$report" >&2
  fail "lintian reports errors or warnings"
fi

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "the metainfo does not validate"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "the .desktop does not validate"
grep -q '^Name\[cs\]=' "$work/root/usr/share/applications/$id.desktop" || fail "no Czech name"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
  "$work/root/usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo names no free licence"
grep -q '^License: GPL-3.0-or-later$' "$work/root/usr/share/doc/kvelmor/copyright" ||
  fail "the copyright file names no licence"
# Every manual page formats without a warning and says the project's version.
for page in man1/kvelmor.1.gz man1/kvelmor-export.1.gz cs/man1/kvelmor.1.gz cs/man1/kvelmor-export.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$work/root/usr/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  zcat "$work/root/usr/share/man/$page" | grep -q "^\.TH .* \"Kvelmor $version\" " ||
    fail "$page does not say Kvelmor $version"
done
# gzip -9n: no file name and no time stamp in the header, so every build gives the same bytes.
for gz in "$work"/root/usr/share/man/man1/*.gz "$work"/root/usr/share/man/cs/man1/*.gz \
          "$work/root/usr/share/doc/kvelmor/changelog.gz"; do
  [ "$(od -An -tu1 -j3 -N5 "$gz" | tr -s ' ')" = " 0 0 0 0 0" ] || fail "$gz has a name or a time stamp"
done
zcat "$work/root/usr/share/man/cs/man1/kvelmor-export.1.gz" | grep -q '^\.SH VOLBY' ||
  fail "the Czech manual page is not Czech"

# Without a display the window program says so in one line and exits with 1, not Qt's abort.
run env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/kvelmor"
[ "$status" -eq 1 ] || fail "kvelmor without a display exited with $status"
[ -z "$out" ] && [ "$(wc -l <<<"$err")" -eq 1 ] && grep -q 'no graphical display' <<<"$err" ||
  fail "kvelmor without a display said: $out$err"
# The browser edition, as making the package built it.
page=$(sed -n 's/^KVELMOR_WEB_PAGE:FILEPATH=//p' "$build/CMakeCache.txt")
cmp -s "$page" "$work/root/usr/share/kvelmor/kvelmor.html" || fail "the package lacks the page $page"

# One version, the project's, in the package, the changelog, the AppStream release (and the manual
# pages, above) and the programs.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
top=$(zcat "$work/root/usr/share/doc/kvelmor/changelog.gz" | sed -n '1s/^kvelmor (\([^)]*\)).*/\1/p')
[ "$top" = "$version" ] || fail "the changelog's newest entry is $top, the project's version $version"
release=$(grep -o '<release version="[^"]*"' "$work/root/usr/share/metainfo/$id.metainfo.xml" |
          head -1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the AppStream release is $release, the project's version $version"
[ "$("$work/root/usr/bin/kvelmor" --version)" = "kvelmor $version" ] || fail "kvelmor --version"

check_export() {  # $1: the kvelmor-export to try
  [ "$("$1" --version)" = "kvelmor-export $version" ] || fail "$1 --version"
  "$1" --frequency stredni --distance 350 --out "$work/out" || fail "$1 could not export"
  for f in kvelmor-0.6-350.png kvelmor-0.6-350.csv kvelmor-0.6-350-plot.svg kvelmor-0.6-350-plot.png; do
    [ -s "$work/out/$f" ] || fail "no $f from $1"
  done
  rm -rf "$work/out"
}
check_export "$work/root/usr/bin/kvelmor-export"
echo "unpacked package: lintian, contents, metadata, manual pages and kvelmor-export checked"

if [ "${CI:-}" = true ] || [ "${KVELMOR_TEST_INSTALL:-}" = 1 ]; then
  [ "$(id -u)" -eq 0 ] || fail "installing the package needs root"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
  trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -q kvelmor >/dev/null; rm -rf "$work"' EXIT
  check_export /usr/bin/kvelmor-export
  # Start the window as the menu entry does, in a private X server, and find it by the window
  # class the entry promises (StartupWMClass), so that the desktop can tie the two together.
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$id.desktop)
  wm_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/$id.desktop)
  [ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "
    env -u QT_QPA_PLATFORM $exec_line & pid=\$!
    timeout 20 xdotool search --sync --onlyvisible --class '^$wm_class\$' >/dev/null || exit 1
    kill \$pid" || fail "the installed kvelmor opened no window of class $wm_class"
  echo "installed package: kvelmor-export ran and kvelmor opened its window from the menu entry"
fi
