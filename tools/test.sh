#!/usr/bin/env bash
# Builds everything and runs all tests (native + Windows x64 under Wine) in
# one ctest run.  Extra arguments are passed to ctest (e.g. -R pattern).
#
#   1. installs the Debian packages it needs (only when something is missing)
#   2. checks clang-format on app/ platform/ components/ tools/ tests/
#   3. configures and builds the presets native, windows-x64, windows-x86
#   4. ctest --test-dir build/native (includes build/windows-x64's tests)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 xvfb
          libgtest-dev libgmock-dev libstb-dev libbenchmark-dev imagemagick clang-format
          x11-utils
          # Only "recommended" by wine, but needed for faithful rendering:
          fonts-wine fonts-liberation libxrender1 libxrandr2 libxi6 libxcursor1
          libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1)

install_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    if [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null) != ii* ]]; then
      missing+=("$p")
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  echo "installing: ${missing[*]}"
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  if ! { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
         "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
           apt-get install -y -qq "${missing[@]}"; } \
       >"$logs/apt.log" 2>&1; then
    cat "$logs/apt.log"
    echo "test.sh: package installation failed" >&2
    exit 1
  fi
}

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

# quiet NAME CMD...: runs CMD with output to build/logs/NAME.log; shows the log on failure.
quiet() {
  local name=$1
  shift
  if ! "$@" >"$logs/$name.log" 2>&1; then
    cat "$logs/$name.log"
    echo "test.sh: '$*' failed (log: build/logs/$name.log)" >&2
    exit 1
  fi
}

install_packages
check_format

start=$SECONDS
for preset in native windows-x64 windows-x86; do
  quiet "configure-$preset" cmake --preset "$preset"
  quiet "build-$preset" cmake --build --preset "$preset"
done
echo "built native, windows-x64, windows-x86 in $((SECONDS - start)) s"

# Should ctest be interrupted, still stop the Xvfb/wineserver of the tests.
trap 'bash tools/wine/wine-cleanup build/windows-x64 >/dev/null 2>&1 || true' EXIT

rc=0
ctest --test-dir build/native --output-on-failure -j2 "$@" || rc=$?
exit "$rc"
