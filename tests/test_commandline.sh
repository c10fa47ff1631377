#!/usr/bin/env bash
# kvelmor's command line: --help and --version answer without a display under any platform, an
# unknown argument is named and ends with status 2, and Qt's own options still work.
set -euo pipefail
kvelmor=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

for platform in xcb offscreen ""; do
  for option in --version --help; do
    status=0
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" LC_ALL=C.UTF-8 \
          timeout 20 "$kvelmor" "$option") || status=$?
    [ "$status" -eq 0 ] || fail "$option under the platform '$platform' exited with $status"
    case $option in
      --version) [ "$out" = "kvelmor $version" ] || fail "--version said: $out" ;;
      --help) grep -q '^Usage: kvelmor' <<<"$out" || fail "--help said: $out" ;;
    esac
  done
done
out=$(env -u DISPLAY LC_ALL=cs_CZ.UTF-8 timeout 20 "$kvelmor" -h)
grep -q '^Použití: kvelmor' <<<"$out" || fail "no Czech help under cs_CZ.UTF-8: $out"

# An unknown argument, after the toolkit has taken its own (-platform here).
for arguments in "--bogus" "-platform offscreen --bogus" "--help=x"; do
  status=0
  # shellcheck disable=SC2086
  err=$(QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 timeout 20 "$kvelmor" $arguments 2>&1 >/dev/null) ||
    status=$?
  [ "$status" -eq 2 ] || fail "kvelmor $arguments exited with $status"
  [ "$(wc -l <<<"$err")" -eq 2 ] && grep -q "unknown argument '${arguments##* }'" <<<"$err" ||
    fail "kvelmor $arguments said: $err"
done

# Qt's own options: the window opens with the style and the title asked for.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
    env -u QT_QPA_PLATFORM "$0" -style fusion -qwindowtitle "Kvelmor probe" & pid=$!
    found=0
    timeout 20 xdotool search --sync --onlyvisible --name "^Kvelmor probe\$" >/dev/null || found=$?
    kill "$pid"
    exit "$found"' "$kvelmor" || fail "kvelmor -style fusion -qwindowtitle opened no such window"
else
  echo "SKIP: xvfb-run or xdotool missing: Qt's options not tried in a window"
fi
echo "kvelmor: --help, --version, unknown arguments and Qt's options checked"
