#!/usr/bin/env bash
# kvelmor's command line: --help and --version answer without a display under any platform, an
# unknown argument or language is named and ends with status 2, --lang chooses the help's and the
# window's language, and Qt's own options still work.
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

# --lang: the help in the language asked for where the terminal can show it; a wrong value, or
# none, named with status 2.
for case in "C.UTF-8 --lang en|Usage: kvelmor" "cs_CZ.UTF-8 --lang=en|Usage: kvelmor" \
            "C.UTF-8 --lang cs|Použití: kvelmor" "C --lang CS|Usage: kvelmor"; do
  read -r locale options <<<"${case%|*}"
  # shellcheck disable=SC2086
  out=$(env -u DISPLAY LC_ALL="$locale" timeout 20 "$kvelmor" $options --help)
  [[ $out == "${case#*|}"* ]] || fail "$options --help under $locale said: $out"
done
for arguments in "--lang de|unknown language 'de' (cs or en)" "--lang|option '--lang' needs a value" \
                 "--lang=|unknown language '' (cs or en)" \
                 "--lang en --lang=cs|option '--lang' given twice"; do
  status=0
  # shellcheck disable=SC2086
  err=$(QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 timeout 20 "$kvelmor" -h ${arguments%|*} 2>&1 >/dev/null) ||
    status=$?
  [ "$status" -eq 2 ] && [ "$err" = "kvelmor: ${arguments#*|}"$'\n'"Try 'kvelmor --help' for more information." ] ||
    fail "kvelmor ${arguments%|*} ended with $status: $err"
done

# Qt's own options: the window opens with the style and the title asked for.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
    env -u QT_QPA_PLATFORM "$0" -style fusion -qwindowtitle "Kvelmor probe" & pid=$!
    found=0
    timeout 20 xdotool search --sync --onlyvisible --name "^Kvelmor probe\$" >/dev/null || found=$?
    kill "$pid"
    exit "$found"' "$kvelmor" || fail "kvelmor -style fusion -qwindowtitle opened no such window"
  # The window is Czech under an English locale, and English when asked for (its title says so).
  for case in "|https://kvelmor.example.org" "--lang en|https://kvelmor.example.org/en"; do
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
      env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 LANG=en_GB.UTF-8 "$0" $1 & pid=$!
      found=0
      timeout 20 xdotool search --sync --onlyvisible --name "^Kvelmor - $2\$" >/dev/null || found=$?
      kill "$pid"
      exit "$found"' "$kvelmor" "${case%|*}" "${case#*|}" ||
      fail "kvelmor ${case%|*} under an English locale opened no window titled 'Kvelmor - ${case#*|}'"
  done
else
  echo "SKIP: xvfb-run or xdotool missing: Qt's options not tried in a window"
fi
echo "kvelmor: --help, --version, --lang, unknown arguments and Qt's options checked"
