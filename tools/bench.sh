#!/usr/bin/env bash
# Builds the optimised benchmarks (presets bench and windows-x64-bench) and
# prints every table of docs/performance.md:
#   tools/bench.sh            all but the ten-minute memory run
#   tools/bench.sh --memory   also private memory after start and after 10 min of churn
# Wine runs in the prefix and display of build/windows-x64-bench/wine, stopped afterwards.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=bench.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

memory=false
[[ ${1:-} == --memory ]] && memory=true

install_packages
for preset in bench windows-x64-bench; do
  quiet "configure-$preset" cmake --preset "$preset"
  quiet "build-$preset" cmake --build --preset "$preset"
done
trap 'bash tools/wine/wine-cleanup build/windows-x64-bench >/dev/null 2>&1 || true' EXIT
wine() { tools/wine/wine-run "build/windows-x64-bench/tools/$1.exe" "${@:2}"; }

echo "== The observer's poll on the simulated shell"
build/bench/tools/observer_bench --benchmark_min_time=0.2
echo "== The gauge: simulation"
build/bench/tools/gauge_bench --benchmark_min_time=0.2
echo "== The gauge: GDI under Wine"
wine gauge_bench
echo "== Background fills: simulation"
build/bench/tools/background_bench --benchmark_min_time=0.1
echo "== Background fills: GDI under Wine"
wine background_bench
echo "== Start-up under Wine"
wine startup_bench 9
echo "== Idle CPU under Wine"
# A new session: Wine's own collection is handed out only until the tests'
# server has registered its own in the session.
bash tools/wine/wine-cleanup build/windows-x64-bench >/dev/null 2>&1 || true
wine runtime_bench idle 20
if $memory; then
  echo "== Memory under Wine"
  wine runtime_bench memory 10
fi
