# Sourced by the shell tests: strict mode, a scratch folder $work removed at the end, fail, and
# run, which keeps a command's output in $out, its errors in $err and its exit status in $status.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() {
  status=0
  out=$("$@" 2>"$work/err") || status=$?
  err=$(<"$work/err")
}
