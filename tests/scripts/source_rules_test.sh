#!/usr/bin/env bash
# The rules every source file keeps: includes go only to the own folder or a lower layer and never
# in a circle, and every file is as clang-format writes it. Each check is also run once on a
# planted fault, so that a check that cannot fail is caught. Prints one "ok"/"FAILED" line per
# case and ends with "N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
layers=$root/scripts/lib/layers.py

passed=0 failed=0
check() {
  local name=$1 ok=$2 detail=${3:-}
  if [ "$ok" = yes ]; then
    passed=$((passed + 1)); echo "ok: $name"
  else
    failed=$((failed + 1)); echo "FAILED: $name"; [ -n "$detail" ] && printf '%s\n' "$detail"
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

out=$(python3 "$layers" "$root/src" 2>&1) && ok=yes || ok=no
check "no include goes upward or in a circle" $ok "$out"

# Planted: a portable file that includes a window, and two files that include each other.
cp -r "$root/src" "$work/up"
echo '#include "app/kelvo_app_win.h"' >>"$work/up/base/text_case.h"
out=$(python3 "$layers" "$work/up" 2>&1) && ok=no || ok=yes
[[ $out == *"base/text_case.h includes app/kelvo_app_win.h"* ]] || ok=no
check "an upward include is found" $ok "$out"
cp -r "$root/src" "$work/circle"
echo '#include "base/text_codec.h"' >>"$work/circle/base/text_case.h"
echo '#include "base/text_case.h"' >>"$work/circle/base/text_codec.h"
out=$(python3 "$layers" "$work/circle" 2>&1) && ok=no || ok=yes
[[ $out == *"files include each other: base/text_case.h -> base/text_codec.h"* ]] || ok=no
check "files that include each other are found" $ok "$out"

# Formatting: every C++ file of the repository, with the repository's .clang-format.
mapfile -t sources < <(cd "$root" && { git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find src tests bench fuzz res -name '*.cpp' -o -name '*.h'; })
out=$(cd "$root" && clang-format --dry-run --Werror "${sources[@]}" 2>&1 | grep -E '^[^ ]+:[0-9]+:[0-9]+: (error|warning):' |
  cut -d: -f1 | sort -u)
[ -z "$out" ] && [ ${#sources[@]} -gt 100 ] && ok=yes || ok=no
check "every C++ file is formatted (clang-format -i FILE mends one)" $ok "$out"
cp "$root/.clang-format" "$work/"
printf 'int  main( ) {return 0;}\n' >"$work/planted.cpp"
(cd "$work" && clang-format --dry-run --Werror planted.cpp >/dev/null 2>&1) && ok=no || ok=yes
check "a file clang-format would change is found" $ok

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
