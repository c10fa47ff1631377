#!/usr/bin/env bash
# The build refuses a table of texts in which a key lacks its Czech or English text: copies of
# layout/texts.cpp, each broken in one way, must fail to compile with the table's own message,
# while the copy left whole compiles. Usage: test_textguard.sh SOURCE_DIR CXX
. "$(dirname "$0")/testlib.sh"
root=$1
cxx=$2
compiles() { "$cxx" -std=c++20 -fsyntax-only -I"$root" -x c++ "$1" 2>"$work/errors"; }

compiles "$root/layout/texts.cpp" || { cat "$work/errors" >&2; fail "the table as it is does not compile"; }

# Each line: a name for the break, then a sed expression that makes it.
while IFS='|' read -r what expression; do
  sed -E "$expression" "$root/layout/texts.cpp" >"$work/broken.cpp"
  ! cmp -s "$work/broken.cpp" "$root/layout/texts.cpp" || fail "$what: the break changed nothing"
  ! compiles "$work/broken.cpp" || fail "$what: the table compiled"
  grep -q "lacks its Czech or English text" "$work/errors" ||
    { cat "$work/errors" >&2; fail "$what: the compiler did not say which text is missing"; }
  echo "refused: $what"
done <<'EOF'
an English text left empty|s/^( *\{T::QuitButton, "[^"]*", )"[^"]*"\},/\1""},/
a Czech text left empty|s/^( *\{T::Heading, )"[^"]*"/\1""/
a key without its row|/^ *\{T::StartPrompt, /d
an English pattern without its value|s/^( *"Photon frequency: %1, detector to slit: )%2"/\1"/
EOF
echo "the table is refused whenever a key lacks a language"
