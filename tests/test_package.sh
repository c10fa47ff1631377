#!/usr/bin/env bash
# Builds the .deb from the build directory $1, checks its contents and desktop metadata, and
# starts the programs it holds: from the unpacked package always, and, in CI (or with
# KVELMOR_TEST_INSTALL=1, as root), installed with apt-get and started from the menu entry.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/kvelmor_*.deb)
id=org.example.kvelmor
listing=$(dpkg-deb -c "$deb")
for f in usr/bin/kvelmor usr/bin/kvelmor-export usr/share/applications/$id.desktop \
         usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/metainfo/$id.metainfo.xml; do
  grep -q " \./$f\$" <<<"$listing" || fail "$f is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency on Qt"

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "the metainfo does not validate"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || fail "the .desktop does not validate"
grep -q '^Name\[cs\]=' "$work/root/usr/share/applications/$id.desktop" || fail "no Czech name"
# The browser edition, whenever it has been built (scripts/test builds it before this test).
page=$(sed -n 's/^KVELMOR_WEB_PAGE:FILEPATH=//p' "$build/CMakeCache.txt")
if [ -f "$page" ]; then
  cmp -s "$page" "$work/root/usr/share/kvelmor/kvelmor.html" || fail "the package lacks the page $page"
fi

check_export() {  # $1: the kvelmor-export to try
  [ "$("$1" --version)" = "kvelmor-export 1.0.0" ] || fail "$1 --version"
  "$1" --frequency stredni --distance 350 --out "$work/out" || fail "$1 could not export"
  [ -s "$work/out/kvelmor-0.6-350.png" ] && [ -s "$work/out/kvelmor-0.6-350.csv" ] || fail "no files from $1"
  rm -rf "$work/out"
}
check_export "$work/root/usr/bin/kvelmor-export"
echo "unpacked package: contents, metadata and kvelmor-export checked"

if [ "${CI:-}" = true ] || [ "${KVELMOR_TEST_INSTALL:-}" = 1 ]; then
  [ "$(id -u)" -eq 0 ] || fail "installing the package needs root"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
  trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -q kvelmor >/dev/null; rm -rf "$work"' EXIT
  check_export /usr/bin/kvelmor-export
  # Start the window as the menu entry does, in a private X server, and find it by its caption.
  exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$id.desktop)
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "
    env -u QT_QPA_PLATFORM $exec_line & pid=\$!
    timeout 20 xdotool search --sync --onlyvisible --name '^Kvelmor - ' >/dev/null || exit 1
    kill \$pid" || fail "the installed kvelmor did not open its window"
  echo "installed package: kvelmor-export ran and kvelmor opened its window from the menu entry"
fi
