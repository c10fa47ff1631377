#!/usr/bin/env bash
# kvelmor-export's languages. Usage: test_export_lang.sh EXPORT REFERENCE [one]
#
# Without --lang the picture is Czech and the plot follows the locale, every word of it in one
# language: REFERENCE holds the files' SHA-256 (cs/ as written under a Czech locale, en/ the
# plots that differ under any other; the same at scale 2). Checked under C, cs_CZ.UTF-8, cs_CZ.ISO-8859-2, en_US.UTF-8 and
# cs_SK.UTF-8, which is not installed: the plot is Czech exactly when the locale variables name a
# Czech locale. All fifteen settings under C and cs_CZ.UTF-8, one elsewhere (and everywhere with
# "one", for the slow sanitizer build). --lang en gives English labels, plot and messages under a
# Czech locale; --lang cs the Czech files anywhere, and Czech messages where the charset can show
# them; a wrong value is named, with status 2.
set -euo pipefail
export=$1
reference=$2
settings=${3:-all}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { # LOCALE ARGUMENTS...: the export with only LC_ALL set among the locale variables
  env -u LANGUAGE -u LC_MESSAGES -u LANG LC_ALL="$1" "$export" "${@:2}"
}
# DIR PLOTS REST: every file in DIR has the hash REFERENCE gives it under PLOTS/, or else REST/.
as_before() {
  local file name expected n=0
  for file in "$1"/*; do
    name=${file##*/}
    expected=$(awk -v p="$2/$name" -v r="$3/$name" \
      '$2 == p { a = $1 } $2 == r { b = $1 } END { print (a ? a : b) }' "$reference")
    [ "$(sha256sum <"$file" | cut -d' ' -f1)" = "$expected" ] || fail "$file: not as before ($2)"
    n=$((n + 1))
  done
  echo "$n"
}

! locale -a | grep -qi '^cs_SK' || fail "cs_SK is installed here; the test needs one that is not"
for case in C=en cs_CZ.UTF-8=cs cs_CZ.ISO-8859-2=cs en_US.UTF-8=en cs_SK.UTF-8=cs; do
  locale=${case%=*} plot=${case#*=}
  case $settings:$locale in
    all:C | all:cs_CZ.UTF-8) run "$locale" --all --out "$work/$locale" ;;
    *) run "$locale" --frequency vysoky --distance 300 --out "$work/$locale" ;;
  esac
  run "$locale" --frequency 5 --distance 300 --scale 2 --out "$work/$locale-2"
  echo "$locale: $(as_before "$work/$locale" "$plot" cs) files and" \
    "$(as_before "$work/$locale-2" "$plot-scale2" cs-scale2) at scale 2 as before, the $plot plot"
done

run cs_CZ.UTF-8 --lang en --frequency medium --distance 350 --out "$work/en"
run C --lang=cs --frequency stredni --distance 350 --out "$work/cs"
[ "$(as_before "$work/cs" cs cs)" = 5 ]
grep -q '<title>Photon frequency: medium, detector to slit: 350</title>' "$work/en/kvelmor-0.6-350-plot.svg" &&
  grep -q '>sum of 2003 arrows<' "$work/en/kvelmor-0.6-350-plot.svg" || fail "--lang en: the plot is not English"
grep -q 'Barrier with slit' "$work/en/kvelmor-0.6-350.svg" && ! grep -q 'Clona' "$work/en/kvelmor-0.6-350.svg" ||
  fail "--lang en: the picture's labels are not English"
cmp "$work/en/kvelmor-0.6-350.csv" "$work/cs/kvelmor-0.6-350.csv"

# The plot's title in the plot's language, the frequency's caption too, with only LANG set.
for case in "C.UTF-8|Photon frequency: medium, detector to slit: 350" \
            "cs_CZ.UTF-8|Kmitočet fotonu: střední, Detektor-Clona: 350"; do
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="${case%%|*}" "$export" --frequency stredni \
    --distance 350 --out "$work/lang-${case%%|*}"
  title=$(grep -o '<title>[^<]*' "$work/lang-${case%%|*}/kvelmor-0.6-350-plot.svg")
  [ "$title" = "<title>${case#*|}" ] || fail "LANG=${case%%|*}: the plot's title is $title"
done

# A message with the system's reason in it: the folder is a file.
touch "$work/file"
said() { run "$@" --all --out "$work/file/sub" 2>&1 || true; }
czech=$(said cs_CZ.UTF-8)
english="kvelmor-export: cannot create directory $work/file: Not a directory"
[[ $czech == "kvelmor-export: nelze založit adresář $work/file: "* && $czech != *Not* ]] || fail "$czech"
[ "$(said C.UTF-8 --lang cs)" = "$czech" ] || fail "--lang cs under C.UTF-8: $(said C.UTF-8 --lang cs)"
[ "$(said cs_CZ.ISO-8859-2 --lang cs | iconv -f ISO-8859-2 -t UTF-8)" = "$czech" ] || fail "--lang cs, Latin-2"
for case in "cs_CZ.UTF-8 --lang en" "C --lang cs" "C"; do
  # shellcheck disable=SC2086
  [ "$(said $case)" = "$english" ] || fail "$case: $(said $case)"
done
status=0
err=$(run cs_CZ.UTF-8 --lang de --all --out "$work/none" 2>&1) || status=$?
[ "$status" = 2 ] && [ ! -e "$work/none" ] && [[ $err == *"neznámý jazyk 'de' (cs nebo en)"* ]] || fail "$err"
echo "--lang en and --lang cs: files and messages in the language asked for"
