#!/usr/bin/env bash
# Builds everything and runs all tests (native + Windows x64 under Wine) in
# one ctest run.  Extra arguments are passed to ctest (e.g. -R pattern).
#
#   1. installs the Debian packages it needs (only when something is missing)
#   2. checks clang-format on app/ platform/ components/ tools/ tests/
#   3. configures and builds the presets native, windows-x64, windows-x86,
#      fuzz (the fuzzing harnesses, run briefly by the tests), and the release
#      programs with their installers (as tools/package.sh)
#   4. ctest --test-dir build/native (includes build/windows-x64's tests)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=test.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

check_format() {
  local dirs=() d
  for d in app platform components tools tests; do
    [[ -d $d ]] && dirs+=("$d")
  done
  ((${#dirs[@]} == 0)) && return 0
  local files=()
  mapfile -d '' files < <(find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
  ((${#files[@]} == 0)) && return 0
  if ! clang-format --dry-run --Werror "${files[@]}" >"$logs/format.log" 2>&1; then
    grep -E '^[^ ].*: (error|warning):' "$logs/format.log" | cut -d: -f1 | sort -u |
      sed 's/^/  not formatted: /'
    echo "test.sh: clang-format check failed (log: build/logs/format.log;" \
      "fix with: clang-format -i <files>)" >&2
    exit 1
  fi
}

install_packages
check_format

start=$SECONDS
for preset in native windows-x64 windows-x86 fuzz; do
  quiet "configure-$preset" cmake --preset "$preset"
  quiet "build-$preset" cmake --build --preset "$preset"
done
build_release_packages
echo "built native, windows-x64, windows-x86, fuzz and the release installers in $((SECONDS - start)) s"

# Should ctest be interrupted, still stop the Xvfb/wineserver of the tests.
trap 'bash tools/wine/wine-cleanup build/windows-x64 >/dev/null 2>&1 || true' EXIT

rc=0
ctest --test-dir build/native --output-on-failure -j2 "$@" || rc=$?
exit "$rc"
