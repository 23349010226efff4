# Helpers of the set-up that choose what to fetch from the archives this machine is configured
# for. Sourced by scripts/dev and by its own test (tests/scripts/sources_test.sh); nothing here
# names a host.

# The source versions of one package that `apt-cache showsrc` lists (read from standard input),
# newest first, each once. A security or updates suite may name a version the archive the
# machine reaches does not serve, so callers try them in this order.
source_versions_newest_first() {
  local package=$1
  awk -v want="$package" '
    /^Package:/ { current = $2 }
    /^Version:/ && current == want { print $2 }
  ' | sort -u | sort_versions_newest_first
}

# Debian version strings from standard input, newest first, by dpkg's own comparison.
sort_versions_newest_first() {
  local versions=() v i j t
  while IFS= read -r v; do [ -n "$v" ] && versions+=("$v"); done
  # Insertion sort: a handful of versions, and dpkg is the only correct comparison.
  for ((i = 1; i < ${#versions[@]}; i++)); do
    t=${versions[i]}
    j=$((i - 1))
    while [ "$j" -ge 0 ] && dpkg --compare-versions "${versions[j]}" lt "$t"; do
      versions[j + 1]=${versions[j]}
      j=$((j - 1))
    done
    versions[j + 1]=$t
  done
  [ ${#versions[@]} -gt 0 ] && printf '%s\n' "${versions[@]}"
  return 0
}

# The reason in apt's output for a failed download, on one line: its first "E:" line, or its
# last line when there is none.
apt_failure_reason() {
  local reason
  reason=$(grep -m1 '^E:' | sed 's/^E: *//')
  printf '%s' "${reason:-unknown failure}" | tr -s ' \n' ' ' | cut -c1-200
}

# Downloads the source package PACKAGE into the current folder, trying each version the
# machine's sources list, newest first, until one downloads (apt verifies each file's checksum
# against the signed index). FETCH is the download command, given PACKAGE=VERSION; tests pass a
# stand-in. On failure prints one line naming every version tried and why it failed.
fetch_source_package() {
  local package=$1 fetch=$2 versions
  versions=$(apt-cache showsrc "$package" 2>/dev/null | source_versions_newest_first "$package")
  # shellcheck disable=SC2086
  fetch_first_version "$package" "$fetch" $versions
}

fetch_first_version() {
  local package=$1 fetch=$2 version out tried=()
  shift 2
  if [ $# -eq 0 ]; then
    echo "no source of $package is listed by this machine's package sources (apt-cache showsrc $package is empty)" >&2
    return 1
  fi
  for version in "$@"; do
    if out=$("$fetch" "$package=$version" 2>&1); then
      [ ${#tried[@]} -gt 0 ] && echo "took $package $version; $(printf '%s; ' "${tried[@]}" | sed 's/; $//')" >&2
      return 0
    fi
    tried+=("$version: $(printf '%s\n' "$out" | apt_failure_reason)")
  done
  local joined
  joined=$(printf '%s; ' "${tried[@]}")
  echo "no source of $package could be downloaded; tried ${joined%; }" >&2
  return 1
}
