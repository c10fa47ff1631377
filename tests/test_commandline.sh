#!/usr/bin/env bash
# kvelmor's command line: --help and --version answer without a display under any platform, an
# unknown argument or language is named and ends with status 2, --lang chooses the help's and the
# window's language, and Qt's own options still work.
. "$(dirname "$0")/testlib.sh"
kvelmor=$1
version=$2

for platform in xcb offscreen ""; do
  for option in --version --help; do
    run env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" LC_ALL=C.UTF-8 \
      timeout 20 "$kvelmor" "$option"
    [ "$status" -eq 0 ] || fail "$option under the platform '$platform' exited with $status"
    case $option in
      --version) [ "$out" = "kvelmor $version" ] || fail "--version said: $out" ;;
      --help) grep -q '^Usage: kvelmor' <<<"$out" && grep -q -- '--explore' <<<"$out" ||
                fail "--help said: $out" ;;
    esac
  done
done

# --lang: the help in the language asked for where the terminal can show it, else the locale's.
for case in "cs_CZ.UTF-8 -h|Použití: kvelmor" "C.UTF-8 --lang en|Usage: kvelmor" \
            "cs_CZ.UTF-8 --lang=en|Usage: kvelmor" "C.UTF-8 --lang cs|Použití: kvelmor" \
            "C --lang CS|Usage: kvelmor"; do
  read -r locale options <<<"${case%|*}"
  # shellcheck disable=SC2086
  out=$(env -u DISPLAY LC_ALL="$locale" timeout 20 "$kvelmor" $options --help)
  [[ $out == "${case#*|}"* ]] || fail "$options --help under $locale said: $out"
done

# An unknown argument (after the toolkit has taken its own, -platform here), or a wrong --lang:
# named in one line, then where to learn more, and status 2.
for case in "--bogus|unknown argument '--bogus'" \
            "-platform offscreen --bogus|unknown argument '--bogus'" \
            "--help=x|unknown argument '--help=x'" "-h --lang de|unknown language 'de' (cs or en)" \
            "-h --lang|option '--lang' needs a value" "-h --lang=|unknown language '' (cs or en)" \
            "-h --lang en --lang=cs|option '--lang' given twice"; do
  # shellcheck disable=SC2086
  run env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 timeout 20 "$kvelmor" ${case%|*}
  [ "$status" -eq 2 ] && [ "$err" = "kvelmor: ${case#*|}"$'\n'"Try 'kvelmor --help' for more information." ] ||
    fail "kvelmor ${case%|*} ended with $status: $err"
done

# Qt's own options: the window opens with the style and the title asked for. The window is Czech
# under an English locale, and English when asked for (its title says so). --explore opens the
# explorer's window too.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  for case in "-style fusion -qwindowtitle Kvelmor_probe|Kvelmor_probe" \
              "|Kvelmor - https://kvelmor.example.org" \
              "--lang en|Kvelmor - https://kvelmor.example.org/en" \
              "--explore|Zkoumat - Kvelmor" "--explore --lang en|Explore - Kvelmor"; do
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
      env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 LANG=en_GB.UTF-8 "$0" $1 & pid=$!
      found=0
      timeout 20 xdotool search --sync --onlyvisible --name "^$2\$" >/dev/null || found=$?
      kill "$pid"
      exit "$found"' "$kvelmor" "${case%|*}" "${case#*|}" ||
      fail "kvelmor ${case%|*} under an English locale opened no window titled '${case#*|}'"
  done
else
  echo "SKIP: xvfb-run or xdotool missing: Qt's options not tried in a window"
fi
echo "kvelmor: --help, --version, --lang, unknown arguments and Qt's options checked"
