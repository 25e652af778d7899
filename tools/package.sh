#!/usr/bin/env bash
# Builds the release programs and their installers:
#   build/windows-x64-release/app/velocane.exe
#   build/windows-x64-release/velocane-3.12-x64-setup.exe
#   build/windows-x86-release/app/velocane.exe
#   build/windows-x86-release/velocane-3.12-x86-setup.exe
# and prints their sizes. Installs the Debian packages it needs first.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=package.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

install_packages
build_release_packages
for arch in x64 x86; do
  dir=build/windows-$arch-release
  for file in "$dir/app/velocane.exe" "$dir"/velocane-*-"$arch"-setup.exe; do
    printf '%-52s %8d bytes\n' "$file" "$(stat -c %s "$file")"
  done
done
