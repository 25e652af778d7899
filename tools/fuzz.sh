#!/usr/bin/env bash
# Runs every fuzzing harness long: RUNS runs each (default 1000000), new
# inputs kept in build/fuzz/found/<name>, the committed corpus read from
# tests/fuzz/corpus/<name>. Prints each harness's runs and time; fails on the
# first crash or sanitizer report (the harness prints it and its input).
#   tools/fuzz.sh [RUNS] [HARNESS...]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=fuzz.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

runs=${1:-1000000}
shift || true
install_packages
quiet configure-fuzz cmake --preset fuzz
quiet build-fuzz cmake --build --preset fuzz

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
  for corpus in tests/fuzz/corpus/*/; do harnesses+=("$(basename "$corpus")"); done
fi
for name in "${harnesses[@]}"; do
  found=build/fuzz/found/$name
  mkdir -p "$found"
  start=$SECONDS
  if ! build/fuzz/tests/fuzz/"${name}"_fuzz -runs="$runs" -print_final_stats=1 "$found" \
      "tests/fuzz/corpus/$name" >"$logs/fuzz-$name.log" 2>&1; then
    tail -40 "$logs/fuzz-$name.log"
    echo "fuzz.sh: $name failed (log: build/logs/fuzz-$name.log)" >&2
    exit 1
  fi
  done_line=$(grep -E '^Done [0-9]+ runs' "$logs/fuzz-$name.log" | tail -1)
  printf '%-16s %s (%d s), corpus %d inputs\n' "$name" "$done_line" "$((SECONDS - start))" \
    "$(find "$found" "tests/fuzz/corpus/$name" -type f | wc -l)"
done
