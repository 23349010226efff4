# Compares the figures benchmarks print ("figure ID VALUE", a ratio to a floor or to a minimal
# program) with bench/baseline.txt ("ID BASELINE MARGIN": the ratio last agreed on and how much
# it moves between runs on a quiet machine). Sourced by scripts/dev and by its test.

# Reads the benchmarks' output from standard input; prints one line per figure of the baseline
# and fails when a figure is worse than its baseline by more than its margin, or was not
# measured at all.
check_figures() {
  local baseline=$1
  awk -v baseline="$baseline" '
    $1 == "figure" { measured[$2] = $3 }
    END {
      failed = 0
      while ((getline line < baseline) > 0) {
        if (line ~ /^[ \t]*(#|$)/) continue
        split(line, f, /[ \t]+/)
        id = f[1]; base = f[2] + 0; margin = f[3] + 0
        if (!(id in measured)) {
          printf "not measured: %s (baseline %.3f)\n", id, base; failed = 1; continue
        }
        value = measured[id] + 0
        if (value > base + margin) {
          printf "WORSE: %s %.3f, baseline %.3f + margin %.3f\n", id, value, base, margin
          failed = 1
        } else {
          printf "ok: %s %.3f, baseline %.3f + margin %.3f\n", id, value, base, margin
        }
      }
      exit failed
    }'
}
