#!/usr/bin/env bash
# Tests of the benchmark check: figures within their margin pass, a worse one or a missing one
# fails and is named. Prints "ok"/"FAILED" lines and "N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/lib/bench_check.sh
. "$here/../../scripts/lib/bench_check.sh"

passed=0 failed=0
check() {
  if [ "$2" = "$3" ]; then passed=$((passed + 1)); echo "ok: $1"
  else failed=$((failed + 1)); echo "FAILED: $1"; echo "  want: $2"; echo "  got:  $3"; fi
}

baseline=$(mktemp)
trap 'rm -f "$baseline"' EXIT
printf '# id baseline margin\nclipboard_show_vs_floor 1.10 0.10\nhotkey_activation_vs_minimal 1.30 0.40\n' >"$baseline"

out=$(printf 'some line\nfigure clipboard_show_vs_floor 1.150\nfigure hotkey_activation_vs_minimal 1.690\n' |
  check_figures "$baseline")
check "figures within their margins pass" "0" "$?"

out=$(printf 'figure clipboard_show_vs_floor 1.250\nfigure hotkey_activation_vs_minimal 1.000\n' |
  check_figures "$baseline")
code=$?
check "a figure worse than its margin fails" "1" "$code"
check "the worse figure is named" "WORSE: clipboard_show_vs_floor 1.250, baseline 1.100 + margin 0.100" \
  "$(printf '%s\n' "$out" | grep WORSE)"

out=$(printf 'figure clipboard_show_vs_floor 1.0\n' | check_figures "$baseline")
code=$?
check "a figure not measured fails" "1 not measured: hotkey_activation_vs_minimal (baseline 1.300)" \
  "$code $(printf '%s\n' "$out" | grep 'not measured')"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
