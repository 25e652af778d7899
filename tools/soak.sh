#!/usr/bin/env bash
# Runs the soak of the whole program on the simulation for HOURS of virtual
# time (default 24) with random course SEED (default 1), sanitizers on, and
# prints its figures: virtual and real time, events of each kind, boxes shown,
# peak sizes in the first stretch and after it. Fails on the first broken
# promise or sanitizer report.
#   tools/soak.sh [HOURS] [SEED]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=soak.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

hours=${1:-24}
seed=${2:-1}
install_packages
quiet configure-native cmake --preset native
quiet build-soak cmake --build --preset native --target soak_tests -j2

if ! VELOCANE_SOAK_HOURS=$hours VELOCANE_SOAK_SEED=$seed build/native/tests/soak_tests \
    >"$logs/soak.log" 2>&1; then
  tail -60 "$logs/soak.log"
  echo "soak.sh: the soak failed (log: build/logs/soak.log)" >&2
  exit 1
fi
grep -F '[ soak ]' "$logs/soak.log"
