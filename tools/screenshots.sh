#!/usr/bin/env bash
# Takes the README's pictures of the real program under Wine and writes them
# into docs/: main-window.png, gauge-accelerate.png, browser-list.png,
# about-box.png, tray-icon.png, and main-window-144.png and about-box-144.png
# at 144 DPI. Builds the Windows x64 preset first; Wine
# runs in its own prefix and display (build/shots-wine), stopped afterwards.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$(pwd)
logs=$root/build/logs
mkdir -p "$logs"

tool=screenshots.sh
# shellcheck source=tools/common.sh
source "$root/tools/common.sh"

install_packages
quiet configure-windows-x64 cmake --preset windows-x64
quiet build-windows-x64 cmake --build --preset windows-x64 --target readme_shots

export VELOCANE_WINE_DIR=$root/build/shots-wine
unset VELOCANE_WINE_USE_DISPLAY
trap 'bash tools/wine/wine-cleanup "$root/build/windows-x64" >/dev/null 2>&1 || true' EXIT
quiet wine-setup-shots bash tools/wine/wine-setup "$root/build/windows-x64"
tools/wine/wine-run build/windows-x64/tools/readme_shots.exe "Z:${root//\//\\}\\docs"
