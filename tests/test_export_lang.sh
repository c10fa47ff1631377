#!/usr/bin/env bash
# kvelmor-export's languages. Usage: test_export_lang.sh EXPORT REFERENCE [one]
# ("one": a single setting under every locale, for the slow sanitizer build; otherwise all
# fifteen under C and cs_CZ.UTF-8)
#
# Without --lang every file is the same bytes as the export wrote before it had --lang:
# REFERENCE holds their SHA-256, cs/ as written under a Czech locale, en/ the plots that differ
# under any other, and the same at scale 2. Checked under C, cs_CZ.UTF-8, cs_CZ.ISO-8859-2,
# en_US.UTF-8 and cs_SK.UTF-8 (installed or not, whatever the charset): the picture is Czech, and
# the plot, a UTF-8 file, is Czech exactly when the locale variables name a Czech locale.
#
# --lang en gives the English picture, plot and messages under a Czech locale; --lang cs the Czech
# plot under any locale, and Czech messages where the charset can show Czech letters, the
# system's reasons included; a wrong --lang is named, with status 2.
set -euo pipefail
export=$1
reference=$2
settings=${3:-all}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The export in a given locale, the other locale variables unset.
run() {
  local locale=$1
  shift
  env -u LANGUAGE -u LC_MESSAGES -u LANG LC_ALL="$locale" "$export" "$@"
}

# Every file in $1 has the hash REFERENCE gives it under $2/ (the plots) or under $3/.
as_before() {
  local dir=$1 plots=$2 rest=$3 file name expected compared=0
  for file in "$dir"/*; do
    name=${file##*/}
    expected=$(awk -v a="$plots/$name" -v b="$rest/$name" \
      '$2 == a { p = $1 } $2 == b { r = $1 } END { print (p ? p : r) }' "$reference")
    [ -n "$expected" ] || fail "$name: no reference"
    [ "$(sha256sum <"$file" | cut -d' ' -f1)" = "$expected" ] ||
      fail "$name in $dir is not the file the export wrote before (the $plots plot)"
    compared=$((compared + 1))
  done
  echo "$compared"
}

# Without --lang: the locale, and which plot it gives. cs_SK.UTF-8 is not installed (an
# uninstalled locale falls back to C for everything else), yet it names Czech.
locale -a | grep -qi '^cs_SK' && fail "cs_SK is installed here; the test needs a Czech locale that is not"
for case in C=en cs_CZ.UTF-8=cs cs_CZ.ISO-8859-2=cs en_US.UTF-8=en cs_SK.UTF-8=cs; do
  locale=${case%=*}
  plot=${case#*=}
  out="$work/$locale"
  # All fifteen settings under two locales, one setting (the highest frequency) elsewhere.
  case $settings:$locale in
    all:C | all:cs_CZ.UTF-8) run "$locale" --all --out "$out" ;;
    *) run "$locale" --frequency vysoky --distance 300 --out "$out" ;;
  esac
  n=$(as_before "$out" "$plot" cs)
  run "$locale" --frequency 5 --distance 300 --scale 2 --out "$out-2"
  n2=$(as_before "$out-2" "$plot-scale2" cs-scale2)
  echo "$locale: $n files and $n2 at scale 2 as before, the $plot plot"
done
[ "$settings" = one ] || (($(ls "$work/C" | wc -l) == 75)) ||
  fail "--all wrote $(ls "$work/C" | wc -l) files, not 75"

# --lang en under a Czech locale: English labels in the picture, an English plot.
run cs_CZ.UTF-8 --lang en --frequency medium --distance 350 --out "$work/en"
run cs_CZ.UTF-8 --lang=cs --frequency stredni --distance 350 --out "$work/cs"
grep -q '<title>Photon frequency: medium, detector to slit: 350</title>' "$work/en/kvelmor-0.6-350-plot.svg" ||
  fail "--lang en: the plot's title is not English"
grep -q '>sum of 2003 arrows<' "$work/en/kvelmor-0.6-350-plot.svg" || fail "--lang en: the legend is not English"
grep -q 'Barrier with slit' "$work/en/kvelmor-0.6-350.svg" || fail "--lang en: the picture's labels are not English"
! grep -q 'Clona' "$work/en/kvelmor-0.6-350.svg" || fail "--lang en: a Czech label is left in the picture"
cmp -s "$work/en/kvelmor-0.6-350.csv" "$work/cs/kvelmor-0.6-350.csv" || fail "--lang changed the CSV"
! cmp -s "$work/en/kvelmor-0.6-350.png" "$work/cs/kvelmor-0.6-350.png" || fail "--lang en: the picture is the Czech one"
as_before "$work/cs" cs cs >/dev/null
# --lang cs under an English locale: the Czech plot, as under a Czech locale.
run C --lang cs --frequency 0.6 --distance 350 --out "$work/cs-in-c"
as_before "$work/cs-in-c" cs cs >/dev/null
echo "--lang en: English picture labels and plot; --lang cs: the Czech files under any locale"

# Messages: one that includes the system's reason, the folder being a file.
touch "$work/file"
message() {
  local status=0
  run "$@" --all --out "$work/file/sub" 2>"$work/said" || status=$?
  [ "$status" -eq 1 ] || fail "the export with $* ended with $status"
  cat "$work/said"
}
czech=$(message cs_CZ.UTF-8)
[[ $czech == "kvelmor-export: nelze založit adresář $work/file: "* ]] || fail "no Czech message: $czech"
reason=${czech##*: }
[ "$(message cs_CZ.UTF-8 --lang en)" = "kvelmor-export: cannot create directory $work/file: Not a directory" ] ||
  fail "--lang en under a Czech locale: $(message cs_CZ.UTF-8 --lang en)"
[ "$(message C.UTF-8 --lang cs)" = "$czech" ] || fail "--lang cs under C.UTF-8: $(message C.UTF-8 --lang cs)"
[ "$(message cs_CZ.ISO-8859-2 --lang cs | iconv -f ISO-8859-2 -t UTF-8)" = "$czech" ] ||
  fail "--lang cs under Latin-2 is not the Czech message in Latin-2"
[ "$(message C --lang cs)" = "kvelmor-export: cannot create directory $work/file: Not a directory" ] ||
  fail "--lang cs where the charset is ASCII: $(message C --lang cs)"
[ "$(message C)" = "kvelmor-export: cannot create directory $work/file: Not a directory" ] ||
  fail "without --lang under C: $(message C)"
echo "messages: Czech with the reason '$reason' where asked and shown, English elsewhere"

for arguments in "--lang de" "--lang=" "--lang en --lang cs" "--lang"; do
  status=0
  # shellcheck disable=SC2086
  err=$(run C.UTF-8 --all --out "$work/none" $arguments 2>&1 >/dev/null) || status=$?
  [ "$status" -eq 2 ] || fail "$arguments ended with $status"
  [ ! -e "$work/none" ] || fail "$arguments wrote files"
  grep -q -e "unknown language" -e "given twice" -e "needs a value" <<<"$err" || fail "$arguments: $err"
done
[[ $(run cs_CZ.UTF-8 --lang en --help) == "Usage: kvelmor-export"* ]] || fail "--lang en --help is not English"
[[ $(run C --lang xx --all --out "$work/none" 2>&1) == *"unknown language 'xx' (cs or en)"* ]] ||
  fail "a wrong --lang is not named"
echo "wrong --lang values are named, with status 2"
