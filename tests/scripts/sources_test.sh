#!/usr/bin/env bash
# Tests of the set-up's choice of what to download, on recorded `apt-cache showsrc` outputs and
# a stand-in download command: no network is used. Prints one "ok"/"FAILED" line per case and
# ends with "N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/lib/sources.sh
. "$here/../../scripts/lib/sources.sh"

passed=0 failed=0
check() {
  local name=$1 want=$2 got=$3
  if [ "$want" = "$got" ]; then
    passed=$((passed + 1)); echo "ok: $name"
  else
    failed=$((failed + 1)); echo "FAILED: $name"; echo "  want: $want"; echo "  got:  $got"
  fi
}

# Versions come newest first by dpkg's rules (+deb12u2 after the plain one, ~bpo before it), each
# once, and only those of the package asked for.
got=$(source_versions_newest_first pcre2 <"$here/recorded/showsrc_security_ahead.txt" | tr '\n' ' ')
check "versions newest first" "10.42-1+deb12u2 10.42-1 10.42-1~bpo11+1 " "$got"
got=$(printf '' | source_versions_newest_first pcre2 | tr '\n' ' ')
check "no sources listed" "" "$got"

# A stand-in for apt-get source: the versions in $MISSING answer like an archive that does not
# serve them; every call is recorded.
fake_fetch() {
  echo "$1" >>"$CALLS"
  case " $MISSING " in
    *" ${1#*=} "*)
      echo "Err:1 pool/updates/main/p/pcre2/pcre2_${1#*=}.dsc"
      echo "E: Failed to fetch pool/updates/main/p/pcre2/pcre2_${1#*=}.dsc  404  Not Found"
      echo "E: Failed to fetch some archives."
      return 100 ;;
  esac
  return 0
}
export CALLS
CALLS=$(mktemp)
trap 'rm -f "$CALLS"' EXIT

# The newest version's source is missing: the next one is fetched and the set-up goes on.
: >"$CALLS"; MISSING="10.42-1+deb12u2"
fetch_first_version pcre2 fake_fetch 10.42-1+deb12u2 10.42-1 10.42-1~bpo11+1 2>/dev/null
code=$?
check "falls back to the next version" "0 pcre2=10.42-1+deb12u2 pcre2=10.42-1 " \
  "$code $(tr '\n' ' ' <"$CALLS")"

# The newest downloads: nothing else is tried.
: >"$CALLS"; MISSING=""
fetch_first_version pcre2 fake_fetch 10.42-1+deb12u2 10.42-1 2>/dev/null
check "takes the newest when it downloads" "0 pcre2=10.42-1+deb12u2 " "$? $(tr '\n' ' ' <"$CALLS")"

# None downloads: one line naming each version with the archive's reason, and a failure.
: >"$CALLS"; MISSING="10.42-1+deb12u2 10.42-1"
message=$(fetch_first_version pcre2 fake_fetch 10.42-1+deb12u2 10.42-1 2>&1)
code=$?
check "fails when none downloads" "1 1" "$code $(printf '%s\n' "$message" | wc -l)"
check "the failure names every version and why" \
  "no source of pcre2 could be downloaded; tried 10.42-1+deb12u2: Failed to fetch pool/updates/main/p/pcre2/pcre2_10.42-1+deb12u2.dsc 404 Not Found; 10.42-1: Failed to fetch pool/updates/main/p/pcre2/pcre2_10.42-1.dsc 404 Not Found" \
  "$message"

message=$(fetch_first_version pcre2 fake_fetch 2>&1)
check "no version listed says so" "1" "$?"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
