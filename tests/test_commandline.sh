#!/usr/bin/env bash
# kvelmor's command line: --help and --version answer without a display under any platform, an
# unknown argument or language is named and ends with status 2 (with a display or without, and
# before --help or --version answer), --lang chooses the help's and the window's language, and
# Qt's own options still work. Both programs' --help and --version into a full output end with
# status 1 and say why; the window opens with standard error closed.
. "$(dirname "$0")/testlib.sh"
kvelmor=$1
version=$2
export=$3

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
# named in one line, then where to learn more, and status 2, on a platform that needs no display
# and on X11 without one (xcb), before any --help or --version is answered.
for platform in offscreen xcb; do
  for case in "--bogus|unknown argument '--bogus'" \
              "-platform offscreen --bogus|unknown argument '--bogus'" \
              "--bogus --version|unknown argument '--bogus'" \
              "-h -sync|unknown argument '-sync'" \
              "--help=x|unknown argument '--help=x'" "-h --lang de|unknown language 'de' (cs or en)" \
              "-h --lang|option '--lang' needs a value" "-h --lang=|unknown language '' (cs or en)" \
              "-h --lang en --lang=cs|option '--lang' given twice"; do
    # shellcheck disable=SC2086
    run env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=$platform LC_ALL=C.UTF-8 timeout 20 \
      "$kvelmor" ${case%|*}
    [ "$status" -eq 2 ] && [ "$err" = "kvelmor: ${case#*|}"$'\n'"Try 'kvelmor --help' for more information." ] ||
      fail "kvelmor ${case%|*} on $platform ended with $status: $err"
  done
done

# Qt's own options, X11's among them, go with --version and --help without a display; without
# either, and without a display, what is said is that there is none.
for case in "-style fusion --version|0" "-name x -geometry 10x10+0+0 --version|0" \
            "--help -reverse|0" "-style fusion|1" "-title x|1"; do
  # shellcheck disable=SC2086
  run env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 timeout 20 \
    "$kvelmor" ${case%|*}
  [ "$status" -eq "${case#*|}" ] || fail "kvelmor ${case%|*} without a display ended with $status: $err"
  [ "$status" -eq 0 ] || [[ $err == "kvelmor: no graphical display here"* ]] ||
    fail "kvelmor ${case%|*} without a display said: $err"
done

# Help or version into a full output: status 1 and the reason, from both programs.
for program in "$kvelmor" "$export"; do
  for option in --help --version; do
    status=0
    err=$(env -u DISPLAY LC_ALL=C.UTF-8 timeout 20 "$program" "$option" 2>&1 >/dev/full) || status=$?
    [ "$status" -eq 1 ] && [ "$err" = "${program##*/}: cannot write to standard output: No space left on device" ] ||
      fail "${program##*/} $option >/dev/full ended with $status: $err"
  done
done

# Standard error closed: an error is still reported by the status.
status=0
env -u DISPLAY QT_QPA_PLATFORM=offscreen timeout 20 "$kvelmor" --bogus 2>&- || status=$?
[ "$status" -eq 2 ] || fail "kvelmor --bogus 2>&- ended with $status"

# Qt's own options: the window opens with the style and the title asked for. The window is Czech
# under an English locale, and English when asked for (its title says so). --explore opens the
# explorer's window too.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  # With standard error closed the window opens too (no runtime folder set: the toolkit has a
  # warning to write), and descriptor 2 is /dev/null, not the toolkit's connection to X.
  for case in "-style fusion -qwindowtitle Kvelmor_probe|Kvelmor_probe|" \
              "|Kvelmor - https://kvelmor.example.org|" \
              "--lang en|Kvelmor - https://kvelmor.example.org/en|" \
              "|Kvelmor - https://kvelmor.example.org|2>&-" \
              "--explore|Zkoumat - Kvelmor|" "--explore --lang en|Explore - Kvelmor|"; do
    IFS='|' read -r options title closed <<<"$case"
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
      if [ -n "$3" ]; then exec 2>&-; fi
      env -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR LC_ALL=C.UTF-8 LANG=en_GB.UTF-8 "$0" $1 & pid=$!
      found=0
      timeout 20 xdotool search --sync --onlyvisible --name "^$2\$" >/dev/null || found=$?
      if [ -n "$3" ] && [ "$(readlink "/proc/$pid/fd/2")" != /dev/null ]; then found=3; fi
      kill "$pid"
      exit "$found"' "$kvelmor" "$options" "$title" "$closed" ||
      fail "kvelmor $options $closed under an English locale opened no window titled '$title'" \
        "(or its descriptor 2 was not /dev/null)"
  done
else
  echo "SKIP: xvfb-run or xdotool missing: Qt's options not tried in a window"
fi
echo "kvelmor: --help, --version, --lang, unknown arguments, Qt's options, a full output and a" \
  "closed standard error checked"
