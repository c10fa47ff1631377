#!/usr/bin/env bash
# The worksheet files (CSV and plot SVG) and the explorer's chain files (CSV and SVG) are the same
# bytes wherever they are made. Usage:
#   test_worksheet_bytes.sh export WORKSHEETS EXPORT       kvelmor-export's files, in Czech, in
#                                                          English and with --lang en (the same
#                                                          English), are those of the worksheet
#                                                          tool
#   test_worksheet_bytes.sh web WORKSHEETS WORKSHEETS_JS   the tool built for WebAssembly (by
#                                                          scripts/build-web) writes what it writes
#                                                          natively; skipped when it is not built
#   test_worksheet_bytes.sh processors WORKSHEETS          the same tool run on emulated processors
#                                                          without AVX-512 and without AVX at all
#   test_worksheet_bytes.sh simd WORKSHEETS_JS SIMD_JS     the tool built for WebAssembly without
#                                                          SIMD and with it writes the same files,
#                                                          the run's sums (sums/) among them, for
#                                                          all fifteen settings; skipped when they
#                                                          are not built
# Exit status 77 marks a skip.
. "$(dirname "$0")/testlib.sh"
mode=$1
tool=$2

# Compares every file the tool wrote into $1 with the file of the same name under $2.
same() {
  local compared=0 file
  for file in "$1"/*; do
    cmp "$file" "$2/${file##*/}" || fail "${file##*/} differs ($1 against $2)"
    compared=$((compared + 1))
  done
  ((compared > 0)) || fail "nothing written into $1"
  echo "$compared files alike: $1 and $2"
}

case $mode in
export)
  "$tool" "$work/tool" >/dev/null
  LC_ALL=cs_CZ.UTF-8 "$3" --all --out "$work/cs" >/dev/null
  LC_ALL=C.UTF-8 "$3" --all --out "$work/en" >/dev/null
  LC_ALL=cs_CZ.UTF-8 "$3" --lang en --all --out "$work/en-en" >/dev/null
  ((($(ls "$work/tool/cs" | wc -l) == 30))) || fail "the tool did not write 15 settings"
  same "$work/tool/cs" "$work/cs"
  same "$work/tool/en" "$work/en"
  same "$work/tool/en" "$work/en-en"
  # The chains of two settings, against kvelmor-export --step --paths.
  for setting in 0.6-350 5-300; do
    for chain in 0-2 46-200 140-2003 220-inf; do
      LC_ALL=C.UTF-8 "$3" --lang cs --frequency "${setting%-*}" --distance "${setting#*-}" \
        --step "${chain%-*}" --paths "${chain#*-}" --out "$work/chains" >/dev/null
    done
  done
  for file in "$work"/chains/*.csv "$work"/chains/*.svg; do
    cmp "$file" "$work/tool/chains/${file##*/}" || fail "${file##*/} differs from the tool's"
  done
  echo "16 chain files alike: kvelmor-export's and the tool's"
  ;;
web)
  if [ ! -f "$3" ]; then
    echo "SKIP: no $3; scripts/build-web builds it"
    exit 77
  fi
  command -v node >/dev/null || fail "node is missing (scripts/setup installs it)"
  "$tool" "$work/native" >/dev/null
  node "$3" "$work/web"
  for language in cs en chains; do
    same "$work/web/$language" "$work/native/$language"
  done
  ;;
simd)
  if [ ! -f "$2" ] || [ ! -f "$3" ]; then
    echo "SKIP: no $2 or $3; scripts/build-web builds them"
    exit 77
  fi
  command -v node >/dev/null || fail "node is missing (scripts/setup installs it)"
  node "$2" "$work/scalar" >/dev/null
  node "$3" "$work/simd" >/dev/null
  ((($(ls "$work/scalar/sums" | wc -l) == 15))) || fail "the tool did not sum 15 settings"
  for folder in cs en chains sums; do
    same "$work/simd/$folder" "$work/scalar/$folder"
  done
  ;;
processors)
  command -v qemu-x86_64 >/dev/null || fail "qemu-x86_64 is missing (scripts/setup installs it)"
  # Two settings, the lowest frequency and the highest, which samples the slit most finely.
  settings=(0.03-300 5-400)
  "$tool" "$work/native" "${settings[@]}" >/dev/null
  for cpu in Haswell qemu64; do
    qemu-x86_64 -cpu "$cpu" "$tool" "$work/$cpu" "${settings[@]}" >/dev/null
    for language in cs en chains; do
      same "$work/$cpu/$language" "$work/native/$language"
    done
  done
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
